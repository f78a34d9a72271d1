#include "htmlview/column_widths.h"

#include "htmlview/numeric.h"
#include "htmlview/tag_codes.h"

#include <algorithm>
#include <vector>

namespace htmlview {

namespace {

std::vector<int> childrenOf(const HtmlElements& elements, const HtmlElement& parent, int code) {
    std::vector<int> found;
    const qsizetype count = std::min<qsizetype>(parent.ChildCount, parent.Children.size());
    for (qsizetype i = 0; i < count; ++i) {
        const int child = parent.Children[i];
        if (elements[child].TagType == code)
            found.push_back(child);
    }
    return found;
}

bool hasNoSpans(const HtmlElements& elements, const HtmlElement& row) {
    const qsizetype count = std::min<qsizetype>(row.ChildCount, row.Children.size());
    for (qsizetype i = 0; i < count; ++i) {
        if (elements[row.Children[i]].ColSpan > 1)
            return false;
    }
    return true;
}

int columnCount(const HtmlElements& elements, const HtmlElement& row) {
    long long sum = 0;
    const qsizetype count = std::min<qsizetype>(row.ChildCount, row.Children.size());
    for (qsizetype i = 0; i < count; ++i)
        sum += elements[row.Children[i]].ColSpan;
    return int(std::min<long long>(sum, kMaxColumns));
}

} // namespace

void ComputeColumnWidths(HtmlElements& elements, int tableIndex) {
    HtmlElement& table = elements[tableIndex];
    const std::vector<int> rows = childrenOf(elements, table, tag::Row);
    if (rows.empty())
        return;
    const int columns = columnCount(elements, elements[rows.front()]);
    if (columns <= 0)
        return;
    const double available = table.TablePixelWidth - 2.0 * table.Border * (columns + 1) -
                             double(table.CellSpacing) * columns;
    std::vector<double> width(size_t(columns), 0.0);

    int uniformRow = -1;
    for (int row : rows) {
        if (hasNoSpans(elements, elements[row])) {
            uniformRow = row;
            break;
        }
    }
    if (uniformRow >= 0) {
        std::vector<bool> automatic(size_t(columns), false);
        int automaticCount = 0;
        double fixedSum = 0;
        int column = 0;
        for (int cell : childrenOf(elements, elements[uniformRow], tag::Cell)) {
            if (column >= columns)
                break;
            const double requested =
                std::clamp(double(elements[cell].CellWidth), -kMaxExtent, kMaxExtent);
            if (requested > 1) {
                width[size_t(column)] = requested;
                fixedSum += requested;
            } else if (requested == 1) {
                automatic[size_t(column)] = true;
                ++automaticCount;
            } else {
                width[size_t(column)] = requested * available;
                fixedSum += width[size_t(column)];
            }
            ++column;
        }
        if (automaticCount > 0) {
            const int share = NearestEven(available - fixedSum) / automaticCount;
            for (size_t c = 0; c < automatic.size(); ++c) {
                if (automatic[c])
                    width[c] = share;
            }
        }
    } else {
        for (double& w : width)
            w = available / columns;
    }

    double total = 0;
    for (double w : width)
        total += w;
    if (total > 1 && table.TableWidth > 1 && total > table.TablePixelWidth) {
        table.TablePixelWidth = NearestEven(total);
    } else if (total < table.TablePixelWidth && total != 0) {
        for (double& w : width)
            w *= available / total;
    }

    const int gap = 2 * table.Border + table.CellSpacing;
    for (int row : rows) {
        int column = 0;
        for (int cell : childrenOf(elements, elements[row], tag::Cell)) {
            HtmlElement& e = elements[cell];
            double pixels = double(gap) * (e.ColSpan - 1);
            // Columns past the table's last add nothing.
            for (int span = 0; span < e.ColSpan && column < columns; ++span, ++column)
                pixels = NearestEven(pixels + width[size_t(column)]);
            e.CellPixelWidth = NearestEven(std::clamp(pixels, -kMaxExtent, kMaxExtent));
        }
    }
}

} // namespace htmlview
