#pragma once
// Meaning of every token: text or tag, its code, and the attribute values
// layout needs.

#include "htmlview/document.h"

namespace htmlview {

// Empties Anchors, interprets every element in order and, with
// EnableAnchors, collects the index of every A element.
void InterpretAll(HtmlDocument& doc);

// One element, changed in place. Attribute values that do not convert leave
// the field as it was. BODY attributes change the document's colours.
void InterpretTag(HtmlDocument& doc, HtmlElement& element);

} // namespace htmlview
