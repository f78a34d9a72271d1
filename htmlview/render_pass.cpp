#include "htmlview/render_pass.h"

#include "htmlview/numeric.h"
#include "htmlview/tag_codes.h"

namespace htmlview {

namespace {

// Texts measured at every unit, every numbered item.
const ByteText kW = QByteArrayLiteral("W");
const ByteText kNumberRoom = QByteArrayLiteral("W. ");

} // namespace

RenderPass::RenderPass(HtmlDocument& doc, HtmlSurface& surface, DisplayList& out,
                       const ImageLoader& loader)
    : doc_(doc), e_(doc.Elements), surface_(surface), out_(out), loader_(loader),
      metrics_(surface) {}

void RenderPass::ResetFont() {
    style_ = DefaultTextStyle(doc_);
    fontSynced_ = false;
}

void RenderPass::syncFont() {
    if (fontSynced_)
        return;
    metrics_.setFont(style_.font);
    fontSynced_ = true;
}

int RenderPass::textWidth(const ByteText& text) {
    syncFont();
    return metrics_.width(text);
}

int RenderPass::textHeight() {
    syncFont();
    return metrics_.height();
}

int RenderPass::standardLineHeight() {
    return NearestPosition(textHeight() + 4.0);
}

void RenderPass::recomputeUnit() {
    unit_ = NearestPosition(2.0 * textWidth(kW));
}

void RenderPass::newLine() {
    // The line is as tall as the tallest thing drawn on it, whatever font
    // or picture came after.
    startLineAt(std::max(Plus(y_, lineHeight_), lineBottom_));
    recomputeLineHeight();
}

void RenderPass::startLineAt(int y) {
    y_ = y;
    lineUsed_ = false;
    lineBottom_ = y;
}

void RenderPass::markLine(int bottom) {
    lineUsed_ = true;
    lineBottom_ = std::max(lineBottom_, bottom);
}

void RenderPass::drawKeepLine(const ByteText& text) {
    const int height = textHeight();
    out_.addText(textX_, textY_, height, text, style_.font, style_.foreground);
    markLine(Plus(textY_, height + 4));
    drawnBottom_ = std::max(drawnBottom_, Plus(textY_, height));
    textX_ = Plus(textX_, textWidth(text));
}

void RenderPass::drawEndLine(const ByteText& text) {
    const int height = textHeight();
    out_.addText(textX_, textY_, height, text, style_.font, style_.foreground);
    markLine(Plus(textY_, height + 4));
    textX_ = 0;
    textY_ = Plus(textY_, height);
    drawnBottom_ = std::max(drawnBottom_, textY_);
}

void RenderPass::drawLine(int x1, int y1, int x2, int y2, HtmlColor color) {
    out_.addLine(x1, y1, x2, y2, color);
    textX_ = x2;
    textY_ = y2;
    drawnBottom_ = std::max(drawnBottom_, Plus(std::max(y1, y2), 1));
}

void RenderPass::Run() {
    ResetFont();
    limit_ = surface_.width();
    recomputeLineHeight();
    recomputeUnit();
    QImage tile;
    if (!doc_.BackgroundImage.isEmpty() && loader_)
        tile = loader_(doc_.BackgroundImage);
    out_.setBackground(doc_.BackColor, tile);

    int body = -1;
    for (int i = 1; i < e_.size(); ++i) {
        if (e_[i].TagType == tag::Body) {
            body = i;
            break;
        }
    }
    if (body < 0)
        return;
    measureTables(body);
    startLineAt(4);
    for (int i = body; i < e_.size(); ++i)
        layoutElement(i);
}

void RenderPass::layoutElement(int index) {
    HtmlElement& e = e_[index];
    out_.setElement(index);
    e.Top = y_;
    e.Left = x_;
    e.Indent = 0;
    e.AlignCenter = e.AlignCenter || centring_;
    if (e.IsTag)
        styleAndBlockTag(index);
    else if (!hidden_)
        flowText(e);
    if (e.TagType != tag::Comment) {
        e.Bottom = Plus(y_, lineHeight_ + 4);
        e.Right = anchorRight_;
    }
}

void RenderPass::listTag(HtmlElement& e, bool opening, bool ordered) {
    if (opening) {
        ++listDepth_;
        if (ordered_.size() <= size_t(listDepth_)) {
            ordered_.resize(size_t(listDepth_) + 1, false);
            counter_.resize(size_t(listDepth_) + 1, 0);
        }
        ordered_[size_t(listDepth_)] = ordered;
        if (ordered)
            counter_[size_t(listDepth_)] = 0;
        indent_ = Plus(indent_, unit_);
        hang_ = Plus(indent_, unit_);
        e.Indent = hang_;
    } else {
        if (listDepth_ > 0) {
            ordered_[size_t(listDepth_)] = false;
            --listDepth_;
        }
        indent_ = std::max(0, indent_ - unit_);
        hang_ = indent_;
        e.Indent = indent_;
        // Text after the list starts at the list's own indentation, not
        // behind the last item.
        x_ = Plus(margin_, indent_);
    }
    const bool outermost = opening ? listDepth_ == 1 : listDepth_ == 0;
    if (outermost && !blankLine_) {
        newLine();
        blankLine_ = true;
    } else {
        blankLine_ = false;
    }
}

void RenderPass::listItem(HtmlElement& e) {
    x_ = Plus(margin_, indent_);
    newLine();
    e.Top = y_;
    e.Indent = indent_;
    const bool numbered = listDepth_ > 0 && ordered_[size_t(listDepth_)];
    if (numbered) {
        counter_[size_t(listDepth_)] = Plus(counter_[size_t(listDepth_)], 1);
        e.ListNumbered = true;
        e.ListNumber = counter_[size_t(listDepth_)];
    }
    textX_ = Plus(margin_, e.Indent);
    textY_ = y_;
    if (numbered) {
        drawKeepLine(ByteText::number(e.ListNumber) + ". ");
        // Numbers from 10 on are wider than "W. ": the text starts behind them.
        x_ = std::max(NearestPosition(double(x_) + textWidth(kNumberRoom)), textX_);
    } else {
        const ByteText bullet = ByteText(1, char(149)) + "  ";
        drawKeepLine(bullet);
        x_ = NearestPosition(double(x_) + textWidth(bullet));
    }
    hang_ = x_ - margin_;
}

void RenderPass::headingTags(HtmlElement& e) {
    if (e.TagType == tag::Heading) {
        // A heading inside a table starts its own line when the line holds
        // something already, as it does everywhere else.
        const bool lineHasText = lineUsed_;
        x_ = Plus(margin_, indent_);
        ApplyFontTag(doc_, e, style_);
        fontSynced_ = false;
        recomputeLineHeight();
        recomputeUnit();
        if ((textY_ > 4 && frames_.empty()) || lineHasText)
            newLine();
        return;
    }
    if (e.TagType == tag::Big || e.TagType == tag::Small) {
        ApplyFontTag(doc_, e, style_);
        fontSynced_ = false;
        return;
    }
    // "/Hn", "/BIG", "/SMALL": the line ends in the old font.
    x_ = Plus(margin_, indent_);
    newLine();
    ApplyFontTag(doc_, e, style_);
    fontSynced_ = false;
    recomputeLineHeight();
    recomputeUnit();
}

void RenderPass::styleAndBlockTag(int index) {
    HtmlElement& e = e_[index];
    switch (e.TagType) {
    case tag::Bold:
    case tag::BoldEnd:
    case tag::Italic:
    case tag::ItalicEnd:
    case tag::Underline:
    case tag::UnderlineEnd:
    case tag::Font:
        ApplyFontTag(doc_, e, style_);
        fontSynced_ = false;
        break;
    case tag::FontEnd:
        ResetFont();
        recomputeLineHeight();
        recomputeUnit();
        break;
    case tag::Heading:
    case tag::HeadingEnd:
    case tag::Big:
    case tag::BigEnd:
    case tag::Small:
    case tag::SmallEnd:
        headingTags(e);
        break;
    case tag::Anchor:
        if (doc_.EnableAnchors)
            openAnchor(index);
        break;
    case tag::AnchorEnd:
        if (doc_.EnableAnchors)
            closeAnchor();
        break;
    case tag::Center:
    case tag::CenterEnd:
        centring_ = e.TagType == tag::Center;
        if (centring_)
            rightAlign_ = false;
        x_ = Plus(margin_, indent_);
        e.AlignCenter = centring_;
        break;
    case tag::Form:
    case tag::Script:
    case tag::Style:
        hidden_ = true;
        break;
    case tag::FormEnd:
    case tag::ScriptEnd:
    case tag::StyleEnd:
        hidden_ = false;
        break;
    case tag::Paragraph:
        x_ = Plus(margin_, indent_);
        newLine();
        hang_ = indent_;
        e.Indent = indent_;
        recomputeLineHeight();
        break;
    case tag::ParagraphEnd:
        x_ = Plus(margin_, indent_);
        hang_ = indent_;
        e.Indent = indent_;
        if (blankLine_) {
            blankLine_ = false;
        } else {
            newLine();
            blankLine_ = true;
        }
        break;
    case tag::Break:
        x_ = Plus(margin_, indent_);
        newLine();
        hang_ = x_ - margin_;
        e.Indent = hang_;
        blankLine_ = false;
        break;
    case tag::Rule:
        // The rule goes under what the line holds, not through it.
        if (lineUsed_)
            newLine();
        x_ = margin_;
        e.Top = y_;
        drawLine(margin_, y_, limit_ - 4, y_, style_.foreground);
        startLineAt(Plus(y_, 5));
        break;
    case tag::UnorderedList:
    case tag::OrderedList:
        listTag(e, true, e.TagType == tag::OrderedList);
        break;
    case tag::UnorderedListEnd:
    case tag::OrderedListEnd:
        listTag(e, false, false);
        break;
    case tag::ListItem:
        listItem(e);
        break;
    case tag::Blockquote: {
        const int height = lineHeight_;
        startLineAt(std::max(Plus(y_, height), lineBottom_));
        if (!blankLine_)
            startLineAt(Plus(y_, height));
        recomputeLineHeight();
        x_ = Plus(margin_, unit_);
        indent_ = Plus(indent_, unit_);
        hang_ = indent_;
        e.Indent = indent_;
        break;
    }
    case tag::BlockquoteEnd:
        newLine();
        x_ = Plus(x_, -static_cast<long long>(unit_));
        indent_ = Plus(indent_, -static_cast<long long>(unit_));
        hang_ = indent_;
        e.Indent = indent_;
        break;
    case tag::Image:
        drawImage(index);
        break;
    case tag::Table:
        tableOpen(index);
        break;
    case tag::Row:
        rowOpen(e);
        break;
    case tag::Cell:
        centring_ = e.AlignCenter;
        rightAlign_ = e.AlignRight;
        cellOpen(e);
        break;
    case tag::CellEnd:
        cellClose();
        break;
    case tag::RowEnd:
        rowClose();
        break;
    case tag::TableEnd:
        tableClose();
        break;
    default:
        break;
    }
}

} // namespace htmlview
