#include "htmlview/interpret.h"

#include "htmlview/attributes.h"
#include "htmlview/colors.h"
#include "htmlview/entities.h"
#include "htmlview/numeric.h"
#include "htmlview/tag_codes.h"
#include "htmlview/tokenizer.h"

namespace htmlview {

namespace {

void setInt16(int& field, const ByteText& value) {
    if (auto v = Int16Value(value))
        field = *v;
}

void setInt32(int& field, const ByteText& value) {
    if (auto v = Int32Value(value))
        field = *v;
}

// "50%" as the fraction 0.5; otherwise the number after removing what
// removeFromPixels names ("px" for cells, nothing for tables).
void setWidth(float& field, ByteText value, const char* removeFromPixels) {
    if (value.contains('%')) {
        value.replace("%", "");
        if (auto v = NumericValue(value))
            field = float(*v / 100.0);
        return;
    }
    if (removeFromPixels)
        value.replace(removeFromPixels, "");
    if (auto v = NumericValue(value))
        field = float(*v);
}

void interpretFont(const HtmlDocument& doc, HtmlElement& e, const ByteText& name,
                   const ByteText& value) {
    if (name == "FACE") {
        const qsizetype comma = value.indexOf(',');
        e.FontName = comma > 0 ? value.left(comma) : value;
    } else if (name == "COLOR") {
        e.Color = ColorFromAttribute(value);
    } else if (name == "SIZE") {
        const auto number = NumericValue(value);
        if (!number)
            return;
        const ByteText trimmed = TrimSpaces(value);
        const bool relative = trimmed.startsWith('+') || trimmed.startsWith('-');
        const double step = relative ? *number : *number - 3;
        e.FontSize = float(doc.DefaultFontSize + 1.2 * step);
    }
}

void interpretAnchor(HtmlElement& e, const ByteText& name, const ByteText& value) {
    if (name == "HREF")
        e.Href = DecodeEntities(value);
    else if (name == "ID" || name == "NAME")
        e.AnchorName = value;
    else if (name == "TITLE")
        e.TitleText = value;
}

void interpretImage(HtmlElement& e, const ByteText& name, const ByteText& value) {
    if (name == "SRC")
        e.Src = DecodeEntities(value);
    else if (name == "ALT")
        e.Alt = DecodeEntities(value);
    else if (name == "WIDTH")
        setInt32(e.ImageWidth, value);
    else if (name == "HEIGHT")
        setInt32(e.ImageHeight, value);
    else if (name == "HSPACE")
        setInt16(e.HSpace, value);
    else if (name == "VSPACE")
        setInt16(e.VSpace, value);
    else if (name == "BORDER")
        setInt16(e.Border, value);
}

void interpretCell(HtmlElement& e, const ByteText& name, const ByteText& value) {
    if (name == "WIDTH") {
        setWidth(e.CellWidth, value, "px");
    } else if (name == "COLSPAN") {
        setInt16(e.ColSpan, value);
    } else if (name == "ALIGN") {
        const ByteText align = UpperCase(value);
        if (align == "CENTER")
            e.AlignCenter = true;
        else if (align == "RIGHT")
            e.AlignRight = true;
    }
}

void interpretTable(HtmlElement& e, const ByteText& name, const ByteText& value) {
    if (name == "WIDTH")
        setWidth(e.TableWidth, value, nullptr);
    else if (name == "BORDER")
        setInt16(e.Border, value);
    else if (name == "CELLPADDING")
        setInt16(e.CellPadding, value);
    else if (name == "CELLSPACING")
        setInt16(e.CellSpacing, value);
    else if (name == "ALIGN" && UpperCase(value) == "CENTER")
        e.AlignCenter = true;
}

void interpretBody(HtmlDocument& doc, const ByteText& name, const ByteText& value) {
    if (name == "BGCOLOR")
        doc.BackColor = ColorFromAttribute(value);
    else if (name == "TEXT")
        doc.TextColor = ColorFromAttribute(value);
    else if (name == "LINK")
        doc.LinkColor = ColorFromAttribute(value);
    else if (name == "BACKGROUND")
        doc.BackgroundImage = value;
}

// Defaults that hold even for a tag without attributes.
void setTagDefaults(const HtmlDocument& doc, HtmlElement& e) {
    switch (e.TagType) {
    case tag::Font:
        e.FontName = cp1251::fromUnicode(doc.DefaultFontName);
        e.Color = doc.TextColor;
        e.FontSize = doc.DefaultFontSize;
        break;
    case tag::Heading: {
        const int digit = mstrTagID(e.Text).back() - '0'; // "H1" to "H6"
        e.FontSize = float(doc.DefaultFontSize + 1.2 * (7 - digit));
        break;
    }
    case tag::Big:
        e.FontSize = doc.DefaultFontSize + 1;
        break;
    case tag::Small:
        e.FontSize = doc.DefaultFontSize - 1;
        break;
    case tag::Anchor:
        e.Top = e.Left = e.Bottom = e.Right = -1;
        break;
    case tag::Image:
        e.HSpace = 2;
        e.VSpace = 2;
        break;
    case tag::Cell:
        e.ColSpan = 1;
        e.CellWidth = 1.0f;
        break;
    case tag::Table:
        e.CellSpacing = 2;
        e.CellPadding = 2;
        e.TableWidth = 1.0f;
        break;
    default:
        break;
    }
}

void interpretText(HtmlElement& e) {
    e.IsTag = false;
    e.TagType = tag::Text;
    const ByteText decoded = DecodeEntities(e.Text);
    e.Words = decoded.contains(' ') ? decoded.split(' ') : QList<ByteText>{decoded};
}

} // namespace

void InterpretTag(HtmlDocument& doc, HtmlElement& e) {
    if (!IsTagToken(e.Text)) {
        interpretText(e);
        return;
    }
    e.IsTag = true;
    e.TagType = TagCodeOf(mstrTagID(e.Text));
    setTagDefaults(doc, e);
    const int count = mintExtractTagAttributes(e.Text, doc.AttributeNames, doc.AttributeValues);
    for (int i = 0; i < count; ++i) {
        const ByteText& name = doc.AttributeNames[i];
        const ByteText& value = doc.AttributeValues[i];
        switch (e.TagType) {
        case tag::Font:
            interpretFont(doc, e, name, value);
            break;
        case tag::Anchor:
            interpretAnchor(e, name, value);
            break;
        case tag::Image:
            interpretImage(e, name, value);
            break;
        case tag::Cell:
            interpretCell(e, name, value);
            break;
        case tag::Table:
            interpretTable(e, name, value);
            break;
        case tag::Body:
            interpretBody(doc, name, value);
            break;
        default:
            break;
        }
    }
}

void InterpretAll(HtmlDocument& doc) {
    doc.Anchors.clear();
    for (int i = 0; i < doc.Elements.size(); ++i) {
        InterpretTag(doc, doc.Elements[i]);
        if (doc.EnableAnchors && doc.Elements[i].TagType == tag::Anchor)
            doc.Anchors.append(i);
    }
}

} // namespace htmlview
