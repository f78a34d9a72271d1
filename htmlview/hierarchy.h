#pragma once
// The element tree over the flat token array: any closing tag ends the
// innermost open container, whatever its name.

#include "htmlview/html_element.h"

namespace htmlview {

// Sets ChildCount, Children, Parent and SiblingIndex from the TagType codes.
// Element 0 is the root; a closer at the top level ends the tree. Built
// without recursion, so any nesting depth is safe.
void mBuildHierarchy(HtmlElements& elements);

// Navigation; each gives the element found or nullptr.
const HtmlElement* GetParent(const HtmlElements& elements, const HtmlElement& element);
const HtmlElement* GetFirstChild(const HtmlElements& elements, const HtmlElement& element);
const HtmlElement* GetNextSibling(const HtmlElements& elements, const HtmlElement& element);

} // namespace htmlview
