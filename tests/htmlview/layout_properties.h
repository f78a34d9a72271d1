#pragma once
// What every laid-out page must satisfy, checked on the fixed-metrics
// surface: no two text runs overlap, no text lies outside the document's
// width, no table cell is narrower than the longest word drawn in it.

#include "htmlview/display_list.h"
#include "htmlview/document.h"

#include <QStringList>

namespace htmlview::test {

// One line per fault found, empty for a sound layout. width is the surface
// width the document was laid out at.
QStringList LayoutFaults(const HtmlDocument& doc, const DisplayList& list, int width);

} // namespace htmlview::test
