#include "htmlview/font_tags.h"

#include "htmlview/tag_codes.h"

#include <algorithm>

namespace htmlview {

TextStyle DefaultTextStyle(const HtmlDocument& doc) {
    TextStyle style;
    const double size = std::min(double(doc.DefaultFontSize), kMaxFontSize);
    style.font = FontState{doc.DefaultFontName, size, false, false, false};
    style.foreground = doc.TextColor;
    style.currentSize = size;
    return style;
}

bool ApplyFontTag(const HtmlDocument& doc, const HtmlElement& e, TextStyle& style) {
    FontState& font = style.font;
    switch (e.TagType) {
    case tag::Bold:
    case tag::BoldEnd:
        font.bold = e.TagType == tag::Bold;
        return true;
    case tag::Italic:
    case tag::ItalicEnd:
        font.italic = e.TagType == tag::Italic;
        return true;
    case tag::Underline:
    case tag::UnderlineEnd:
        font.underline = e.TagType == tag::Underline;
        return true;
    case tag::Font:
        font.name = cp1251::toUnicode(e.FontName);
        font.size = std::min(double(e.FontSize), kMaxFontSize);
        style.foreground = e.Color;
        style.currentSize = font.size;
        return true;
    case tag::FontEnd:
        // Bold, italic and underline end with the font.
        style = DefaultTextStyle(doc);
        return true;
    case tag::Heading:
        font.size = std::min(double(e.FontSize), kMaxFontSize);
        font.bold = true;
        return true;
    case tag::HeadingEnd:
    case tag::BigEnd:
    case tag::SmallEnd:
        font.size = style.currentSize;
        font.bold = false;
        return true;
    case tag::Big:
    case tag::Small:
        font.size = std::min(double(e.FontSize), kMaxFontSize);
        return true;
    default:
        return false;
    }
}

} // namespace htmlview
