#pragma once
// A text dump of a layout: every element's box, then everything drawn.

#include "htmlview/display_list.h"
#include "htmlview/document.h"

namespace htmlview {

// One line per element: index, code, box (T, L, B, R), Indent and the
// layout fields that are set, then the token text (shortened, UTF-8); then
// one line per drawn item in document coordinates.
QString DumpLayout(const HtmlDocument& doc, const DisplayList& list);

} // namespace htmlview
