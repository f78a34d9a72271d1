#include "htmlview/table_grid.h"

#include "htmlview/column_widths.h"
#include "htmlview/tag_codes.h"

#include <algorithm>

namespace htmlview {

namespace {

int spannedColumns(const HtmlElements& elements, const std::vector<int>& row) {
    long long sum = 0;
    for (int cell : row)
        sum += std::max(1, elements[cell].ColSpan);
    return int(std::min<long long>(sum, kMaxColumns));
}

} // namespace

TableGrid::TableGrid(const HtmlElements& elements) {
    std::vector<int> open;
    for (int i = 0; i < elements.size(); ++i) {
        switch (elements[i].TagType) {
        case tag::Table:
            byElement_.insert(i, int(shapes_.size()));
            open.push_back(int(shapes_.size()));
            shapes_.emplace_back();
            break;
        case tag::TableEnd:
            if (!open.empty())
                open.pop_back();
            break;
        case tag::Row:
            if (!open.empty())
                shapes_[size_t(open.back())].rows.emplace_back();
            break;
        case tag::Cell:
            if (!open.empty()) {
                TableShape& shape = shapes_[size_t(open.back())];
                if (shape.rows.empty())
                    shape.rows.emplace_back();
                shape.rows.back().push_back(i);
            }
            break;
        default:
            break;
        }
    }
    for (TableShape& shape : shapes_) {
        for (const std::vector<int>& row : shape.rows)
            shape.columns = std::max(shape.columns, spannedColumns(elements, row));
    }
}

const TableShape& TableGrid::shape(int tableIndex) const {
    static const TableShape none;
    const auto found = byElement_.constFind(tableIndex);
    return found == byElement_.constEnd() ? none : shapes_[size_t(*found)];
}

} // namespace htmlview
