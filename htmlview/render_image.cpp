#include "htmlview/column_widths.h"
#include "htmlview/numeric.h"

#include "htmlview/render_pass.h"
#include <algorithm>

namespace htmlview {

void RenderPass::openAnchor(int index) {
    HtmlElement& e = e_[index];
    if (!e.Href.isEmpty()) {
        foreground_ = doc_.LinkColor;
        underlinePending_ = true;
    }
    openAnchor_ = index;
    anchorRight_ = x_;
}

void RenderPass::closeAnchor() {
    font_.underline = false;
    fontSynced_ = false;
    underlinePending_ = false;
    foreground_ = doc_.TextColor;
    if (openAnchor_ >= 0) {
        e_[openAnchor_].Bottom = y_ + lineHeight_ - 4;
        e_[openAnchor_].Right = anchorRight_;
        openAnchor_ = -1;
    }
}

void RenderPass::drawImage(HtmlElement& e) {
    const QImage picture = loader_ ? loader_(e.Src) : QImage();
    if (picture.isNull()) {
        if (!e.Alt.isEmpty()) {
            textX_ = x_;
            textY_ = y_;
            drawEndLine("[" + e.Alt + "]");
            x_ = NearestEven(x_ + textWidth("[" + e.Alt + "] "));
            anchorRight_ = x_;
        }
        return;
    }
    if (!inTable_) {
        if (y_ > 4 && !blankLine_) {
            y_ += lineHeight_;
            e.Top = y_;
        }
        recomputeLineHeight();
    }
    if (e.ImageWidth == 0)
        e.ImageWidth = NearestEven(picture.width());
    if (e.ImageHeight == 0)
        e.ImageHeight = NearestEven(picture.height());
    e.ImageWidth = std::clamp(e.ImageWidth, 0, int(kMaxExtent));
    e.ImageHeight = std::clamp(e.ImageHeight, 0, int(kMaxExtent));
    if (centring_ || e.AlignCenter) {
        e.AlignCenter = true;
        x_ = std::max(margin_, margin_ + (limit_ - margin_ - e.ImageWidth) / 2);
    }
    x_ += e.HSpace;
    if (e.Border > 0)
        DrawBevel(true, x_, y_ + e.VSpace, x_ + e.ImageWidth + e.Border,
                  y_ + e.VSpace + e.ImageHeight + e.Border);
    x_ += e.Border;
    y_ += e.Border;
    out_.addPicture(picture, QRect(x_, y_ + e.VSpace, e.ImageWidth, e.ImageHeight));
    x_ += e.ImageWidth + e.Border + e.HSpace;
    lineHeight_ = std::max(lineHeight_, e.ImageHeight + 2 * e.Border + 2 * e.VSpace);
    anchorRight_ = x_;
}

void RenderPass::DrawBevel(bool sunken, int left, int top, int right, int bottom) {
    const HtmlColor highlight = doc_.BackColor == kWhite ? kButtonFace : kWhite;
    const HtmlColor topLeft = sunken ? kButtonShadow : highlight;
    const HtmlColor bottomRight = sunken ? highlight : kButtonShadow;
    drawLine(left, top, right, top, topLeft);
    drawLine(left, top, left, bottom, topLeft);
    drawLine(right, top, right, bottom, bottomRight);
    drawLine(left, bottom, right + 1, bottom, bottomRight);
}

} // namespace htmlview
