#pragma once
// Cuts a normalised document into tag and text tokens.

#include "htmlview/html_element.h"

namespace htmlview {

// Tags (from "<" to ">", comments from "<!--" to "-->") and the text between
// them. Text before the first tag and after the last one is not a token, and
// neither is text made only of spaces. A "<" without a later ">" and a "<!--"
// without a later "-->" end the token list: what follows them is dropped,
// like any text after the last tag.
HtmlElements ParseTokens(const ByteText& text);

// True when the token starts with "<" and ends with ">".
bool IsTagToken(const ByteText& token);

// The upper-case tag name: "<br>" gives "BR", "</b>" "/B",
// "<font color=red>" "FONT", "<!-- x -->" "!--".
ByteText mstrTagID(const ByteText& strTag);

} // namespace htmlview
