#pragma once
// Column widths of a table, fixed before any of its cells is laid out.

#include "htmlview/html_element.h"

namespace htmlview {

// The most columns a table can have; wider tables keep the first ones and
// their remaining cells get no width.
inline constexpr int kMaxColumns = 4096;
// Widths and picture sizes are held to this many pixels, so that absurd
// attribute values cannot overflow the pen's arithmetic.
inline constexpr double kMaxExtent = 1000000;

// Sets CellPixelWidth of every cell of the table at tableIndex (rows are
// the table's TR children in the element tree) and may widen its
// TablePixelWidth when absolute column widths exceed an absolute table
// width. The first row fixes the column count; the first row without spans
// fixes the widths.
void ComputeColumnWidths(HtmlElements& elements, int tableIndex);

} // namespace htmlview
