#pragma once
// Colour names and colour attribute values.

#include "htmlview/html_element.h"

namespace htmlview {

// The sixteen basic colour names, any letter case; other names are black.
HtmlColor NamedColor(const ByteText& name);

// A colour attribute: "#" signs removed, then six hexadecimal digits
// (red, green, blue pairs; three digits are not expanded) or a name.
HtmlColor ColorFromAttribute(const ByteText& value);

// Red in the low byte to a 0xRRGGBB value; system colours are resolved to
// the classic button face and shadow.
quint32 ToRgb(HtmlColor color);

} // namespace htmlview
