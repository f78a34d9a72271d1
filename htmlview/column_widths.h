#pragma once
// Column widths of a table, fixed before any of its cells is laid out.

#include "htmlview/html_element.h"

#include <vector>

namespace htmlview {

struct TableShape;

// The most columns a table can have; wider rows keep the first ones and
// their remaining cells get no width.
inline constexpr int kMaxColumns = 4096;
// Widths and picture sizes are held to this many pixels, so that absurd
// attribute values cannot overflow the pen's arithmetic.
inline constexpr double kMaxExtent = 1000000;

// The width each column of a table needs so that its widest word, picture
// or inner table fits in its cells, padding included; empty when the table's
// content was not measured.
using ColumnMinimums = std::vector<int>;

// Sets CellPixelWidth of every cell of the table at tableIndex and may widen
// its TablePixelWidth. The widest row fixes the column count; the first row
// without spans fixes the widths asked for (pixels, fractions of the width
// available, or automatic: an equal share of what is left). The widths are
// then scaled to fill the table; absolute columns wider than an absolute
// table widen it up to maxWidth, the room its block has. A column narrower
// than its minimum takes the difference from columns with room to spare, or
// the table grows.
void ComputeColumnWidths(HtmlElements& elements, int tableIndex, const TableShape& shape,
                         const ColumnMinimums& minimums = {}, double maxWidth = kMaxExtent);

// The width between the edges of a table whose columns have these widths.
double TableWidthFor(const HtmlElement& table, const std::vector<double>& columns);

} // namespace htmlview
