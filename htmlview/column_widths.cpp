#include "htmlview/column_widths.h"

#include "htmlview/numeric.h"
#include "htmlview/table_grid.h"

#include <algorithm>
#include <numeric>

namespace htmlview {

namespace {

int spanOf(const HtmlElement& cell) {
    return std::max(1, cell.ColSpan);
}

double gaps(const HtmlElement& table, int columns) {
    return 2.0 * table.Border * (columns + 1) + double(table.CellSpacing) * columns;
}

// The widths the first row without spans asks for, column by column;
// columns it leaves open are automatic and share what is left equally.
std::vector<double> requestedWidths(const HtmlElements& elements, const TableShape& shape,
                                    int columns, double available) {
    std::vector<double> width(size_t(columns), 0.0);
    const auto uniform = std::find_if(shape.rows.begin(), shape.rows.end(), [&](const auto& row) {
        return !row.empty() && std::all_of(row.begin(), row.end(),
                                           [&](int cell) { return elements[cell].ColSpan <= 1; });
    });
    if (uniform == shape.rows.end()) {
        std::fill(width.begin(), width.end(), available / columns);
        return width;
    }
    std::vector<bool> automatic(size_t(columns), true);
    double fixedSum = 0;
    for (size_t column = 0; column < uniform->size() && column < size_t(columns); ++column) {
        const double requested =
            std::clamp(double(elements[(*uniform)[column]].CellWidth), -kMaxExtent, kMaxExtent);
        if (requested == 1)
            continue;
        width[column] = requested > 1 ? requested : requested * available;
        automatic[column] = false;
        fixedSum += width[column];
    }
    const auto automaticCount = std::count(automatic.begin(), automatic.end(), true);
    if (automaticCount > 0) {
        const double share = std::max(0, NearestEven(available - fixedSum) / int(automaticCount));
        for (size_t c = 0; c < automatic.size(); ++c) {
            if (automatic[c])
                width[c] = share;
        }
    }
    return width;
}

// Raises every column to its minimum, taking the difference from the columns
// that have more than theirs in proportion to what they can spare. Where
// they cannot spare enough, every column keeps at least its minimum.
void keepMinimums(std::vector<double>& width, const ColumnMinimums& minimums) {
    double needed = 0;
    double spare = 0;
    for (size_t c = 0; c < width.size(); ++c) {
        const double minimum = c < minimums.size() ? minimums[c] : 0;
        if (width[c] < minimum)
            needed += minimum - width[c];
        else
            spare += width[c] - minimum;
    }
    if (needed <= 0)
        return;
    const double share = spare > needed ? needed / spare : 1.0;
    for (size_t c = 0; c < width.size(); ++c) {
        const double minimum = c < minimums.size() ? minimums[c] : 0;
        width[c] = width[c] < minimum ? minimum : width[c] - (width[c] - minimum) * share;
    }
}

} // namespace

double TableWidthFor(const HtmlElement& table, const std::vector<double>& columns) {
    return std::accumulate(columns.begin(), columns.end(), 0.0) + gaps(table, int(columns.size()));
}

void ComputeColumnWidths(HtmlElements& elements, int tableIndex, const TableShape& shape,
                         const ColumnMinimums& minimums, double maxWidth) {
    HtmlElement& table = elements[tableIndex];
    const int columns = shape.columns;
    if (columns <= 0)
        return;
    double available = table.TablePixelWidth - gaps(table, columns);
    std::vector<double> width = requestedWidths(elements, shape, columns, available);

    const double total = std::accumulate(width.begin(), width.end(), 0.0);
    if (total > 1 && table.TableWidth > 1 && total > available) {
        // Absolute columns wider than an absolute table widen the table, as
        // far as its block has room.
        const double widened = std::min({TableWidthFor(table, width), maxWidth, kMaxExtent});
        table.TablePixelWidth = std::max(table.TablePixelWidth, NearestEven(widened));
        available = table.TablePixelWidth - gaps(table, columns);
    }
    if (total > 0 && total != available) {
        for (double& w : width)
            w *= std::max(0.0, available) / total;
    }
    keepMinimums(width, minimums);
    const double needed = TableWidthFor(table, width);
    if (needed > table.TablePixelWidth)
        table.TablePixelWidth = NearestEven(std::min(needed, kMaxExtent));

    const double gap = 2.0 * table.Border + table.CellSpacing;
    for (const std::vector<int>& row : shape.rows) {
        int column = 0;
        for (int cell : row) {
            HtmlElement& e = elements[cell];
            double pixels = gap * (spanOf(e) - 1);
            // Columns past the table's last add nothing.
            for (int span = 0; span < spanOf(e) && column < columns; ++span, ++column)
                pixels = NearestEven(pixels + width[size_t(column)]);
            e.CellPixelWidth = NearestEven(std::clamp(pixels, -kMaxExtent, kMaxExtent));
        }
    }
}

} // namespace htmlview
