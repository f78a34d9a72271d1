#include "htmlview/render_pass.h"

#include "htmlview/numeric.h"
#include "htmlview/tag_codes.h"

namespace htmlview {

RenderPass::RenderPass(HtmlDocument& doc, HtmlSurface& surface, DisplayList& out,
                       const ImageLoader& loader)
    : doc_(doc), e_(doc.Elements), surface_(surface), out_(out), loader_(loader) {}

void RenderPass::ResetFont() {
    font_ = FontState{doc_.DefaultFontName, doc_.DefaultFontSize, false, false, false};
    foreground_ = doc_.TextColor;
    fontSynced_ = false;
}

void RenderPass::syncFont() {
    if (fontSynced_)
        return;
    surface_.setFont(font_);
    fontSynced_ = true;
    for (size_t i = metrics_.size(); i-- > 0;) {
        if (metrics_[i].font == font_) {
            currentMetrics_ = i;
            return;
        }
    }
    metrics_.push_back({font_, -1, {}});
    currentMetrics_ = metrics_.size() - 1;
}

int RenderPass::textWidth(const ByteText& text) {
    syncFont();
    QHash<ByteText, int>& widths = metrics_[currentMetrics_].widths;
    const auto known = widths.constFind(text);
    if (known != widths.constEnd())
        return *known;
    const int width = surface_.textWidth(cp1251::toUnicode(text));
    widths.insert(text, width);
    return width;
}

int RenderPass::textHeight(const ByteText& text) {
    syncFont();
    int& height = metrics_[currentMetrics_].height;
    if (height < 0)
        height = surface_.textHeight(cp1251::toUnicode(text));
    return height;
}

int RenderPass::standardLineHeight() {
    return NearestEven(textHeight("X") + 4);
}

void RenderPass::recomputeUnit() {
    unit_ = NearestEven(2 * textWidth("W"));
}

void RenderPass::newLine() {
    y_ += lineHeight_;
    recomputeLineHeight();
}

void RenderPass::drawKeepLine(const ByteText& text) {
    out_.addText(textX_, textY_, textHeight(text), text, font_, foreground_);
    textX_ += textWidth(text);
}

void RenderPass::drawEndLine(const ByteText& text) {
    const int height = textHeight(text);
    out_.addText(textX_, textY_, height, text, font_, foreground_);
    textX_ = 0;
    textY_ += height;
}

void RenderPass::drawLine(int x1, int y1, int x2, int y2, HtmlColor color) {
    out_.addLine(x1, y1, x2, y2, color);
    textX_ = x2;
    textY_ = y2;
}

void RenderPass::Run() {
    ResetFont();
    limit_ = surface_.width();
    recomputeLineHeight();
    recomputeUnit();
    currentSize_ = doc_.DefaultFontSize;
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
    for (int i = body; i < e_.size(); ++i)
        layoutElement(i);
}

void RenderPass::layoutElement(int index) {
    HtmlElement& e = e_[index];
    e.Top = y_;
    e.Left = x_;
    e.Indent = 0;
    e.AlignCenter = e.AlignCenter || centring_;
    if (e.IsTag)
        styleAndBlockTag(index);
    else if (!hidden_)
        flowText(e);
    if (e.TagType != tag::Comment) {
        e.Bottom = y_ + lineHeight_ + 4;
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
        indent_ += unit_;
        hang_ = indent_ + unit_;
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
        x_ = margin_ + indent_;
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
    x_ = margin_ + indent_;
    newLine();
    e.Top = y_;
    e.Indent = indent_;
    const bool numbered = listDepth_ > 0 && ordered_[size_t(listDepth_)];
    if (numbered) {
        ++counter_[size_t(listDepth_)];
        e.ListNumbered = true;
        e.ListNumber = counter_[size_t(listDepth_)];
    }
    textX_ = margin_ + e.Indent;
    textY_ = y_;
    if (numbered) {
        drawKeepLine(ByteText::number(e.ListNumber) + ". ");
        x_ = NearestEven(x_ + textWidth("W. "));
    } else {
        const ByteText bullet = ByteText(1, char(149)) + "  ";
        drawKeepLine(bullet);
        x_ = NearestEven(x_ + textWidth(bullet));
    }
    hang_ = x_ - margin_;
}

void RenderPass::headingTags(HtmlElement& e) {
    if (e.TagType == tag::Heading) {
        x_ = margin_ + indent_;
        font_.size = e.FontSize;
        font_.bold = true;
        fontSynced_ = false;
        recomputeLineHeight();
        recomputeUnit();
        if (textY_ > 4 && frames_.empty())
            newLine();
        return;
    }
    if (e.TagType == tag::Big || e.TagType == tag::Small) {
        font_.size = e.FontSize;
        fontSynced_ = false;
        return;
    }
    // "/Hn", "/BIG", "/SMALL": the line ends in the old font.
    x_ = margin_ + indent_;
    newLine();
    font_.size = currentSize_;
    font_.bold = false;
    fontSynced_ = false;
    recomputeLineHeight();
    recomputeUnit();
}

void RenderPass::styleAndBlockTag(int index) {
    HtmlElement& e = e_[index];
    switch (e.TagType) {
    case tag::Bold:
    case tag::BoldEnd:
        font_.bold = e.TagType == tag::Bold;
        fontSynced_ = false;
        break;
    case tag::Italic:
    case tag::ItalicEnd:
        font_.italic = e.TagType == tag::Italic;
        fontSynced_ = false;
        break;
    case tag::Underline:
    case tag::UnderlineEnd:
        font_.underline = e.TagType == tag::Underline;
        fontSynced_ = false;
        break;
    case tag::Font:
        font_.name = cp1251::toUnicode(e.FontName);
        font_.size = e.FontSize;
        foreground_ = e.Color;
        currentSize_ = e.FontSize;
        fontSynced_ = false;
        break;
    case tag::FontEnd:
        ResetFont();
        currentSize_ = doc_.DefaultFontSize;
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
        x_ = margin_ + indent_;
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
        x_ = margin_ + indent_;
        newLine();
        hang_ = indent_;
        e.Indent = indent_;
        recomputeLineHeight();
        break;
    case tag::ParagraphEnd:
        x_ = margin_ + indent_;
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
        x_ = margin_ + indent_;
        newLine();
        hang_ = x_ - margin_;
        e.Indent = hang_;
        blankLine_ = false;
        break;
    case tag::Rule:
        x_ = margin_;
        e.Top = y_;
        drawLine(margin_, y_, limit_ - 4, y_, foreground_);
        y_ += 5;
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
    case tag::Blockquote:
        y_ += lineHeight_;
        if (!blankLine_)
            y_ += lineHeight_;
        recomputeLineHeight();
        x_ = margin_ + unit_;
        indent_ += unit_;
        hang_ = indent_;
        e.Indent = indent_;
        break;
    case tag::BlockquoteEnd:
        newLine();
        x_ -= unit_;
        indent_ -= unit_;
        hang_ = indent_;
        e.Indent = indent_;
        break;
    case tag::Image:
        drawImage(e);
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
