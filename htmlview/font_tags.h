#pragma once
// What a tag does to the running text style: bold, italic, underline, the
// FONT face, size and colour, headings, BIG and SMALL. Layout applies it
// while it draws; table measuring applies it to know the fonts of words
// before they are drawn.

#include "htmlview/document.h"
#include "htmlview/surface.h"

namespace htmlview {

// Font sizes are held to this many points: a larger one would not fit a
// page, and its line heights would only run the pen off its range.
inline constexpr double kMaxFontSize = 1000;

struct TextStyle {
    FontState font;
    HtmlColor foreground = kBlack;
    // The size set by the last FONT, to which /Hn, /BIG and /SMALL return.
    double currentSize = 10;
};

// The style at the start of a document: the default font, the text colour.
TextStyle DefaultTextStyle(const HtmlDocument& doc);

// Applies the style part of the tag; false for tags that change no style.
bool ApplyFontTag(const HtmlDocument& doc, const HtmlElement& e, TextStyle& style);

} // namespace htmlview
