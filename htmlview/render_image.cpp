#include "htmlview/column_widths.h"
#include "htmlview/numeric.h"

#include "htmlview/render_pass.h"
#include <algorithm>

namespace htmlview {

void RenderPass::openAnchor(int index) {
    HtmlElement& e = e_[index];
    if (!e.Href.isEmpty()) {
        style_.foreground = doc_.LinkColor;
        underlinePending_ = true;
    }
    openAnchor_ = index;
    anchorRight_ = x_;
}

void RenderPass::closeAnchor() {
    style_.font.underline = false;
    fontSynced_ = false;
    underlinePending_ = false;
    style_.foreground = doc_.TextColor;
    if (openAnchor_ >= 0) {
        e_[openAnchor_].Bottom = Plus(y_, lineHeight_ - 4LL);
        e_[openAnchor_].Right = anchorRight_;
        openAnchor_ = -1;
    }
}

QImage RenderPass::pictureOf(int index) {
    // A picture measured for its table was loaded then; it is asked for once.
    const auto measured = pictures_.constFind(index);
    if (measured != pictures_.constEnd()) {
        const QImage picture = *measured;
        pictures_.erase(measured);
        return picture;
    }
    return loader_ ? loader_(e_[index].Src) : QImage();
}

void RenderPass::drawImage(int index) {
    HtmlElement& e = e_[index];
    const QImage picture = pictureOf(index);
    if (picture.isNull()) {
        if (!e.Alt.isEmpty()) {
            textX_ = x_;
            textY_ = y_;
            drawEndLine("[" + e.Alt + "]");
            x_ = NearestPosition(double(x_) + textWidth("[" + e.Alt + "] "));
            anchorRight_ = x_;
        }
        return;
    }
    if (e.ImageWidth == 0)
        e.ImageWidth = NearestEven(picture.width());
    if (e.ImageHeight == 0)
        e.ImageHeight = NearestEven(picture.height());
    e.ImageWidth = std::clamp(e.ImageWidth, 0, int(kMaxExtent));
    e.ImageHeight = std::clamp(e.ImageHeight, 0, int(kMaxExtent));
    const long long outerWidth = static_cast<long long>(e.ImageWidth) + 2LL * e.HSpace + e.Border;
    if (!inTable_) {
        if (y_ > 4 && !blankLine_) {
            newLine();
            e.Top = y_;
        }
        recomputeLineHeight();
    }
    if (lineUsed_ && x_ + outerWidth >= limit_ - 4LL) {
        // A picture that does not fit beside what the line holds goes below it.
        x_ = Plus(margin_, hang_);
        newLine();
        e.Top = y_;
    }
    if (centring_ || e.AlignCenter) {
        e.AlignCenter = true;
        x_ = std::max(margin_,
                      Plus(margin_, (static_cast<long long>(limit_) - margin_ - e.ImageWidth) / 2));
    }
    x_ = Plus(x_, e.HSpace);
    if (e.Border > 0)
        DrawBevel(true, x_, Plus(y_, e.VSpace), Plus(x_, e.ImageWidth + e.Border),
                  Plus(y_, static_cast<long long>(e.VSpace) + e.ImageHeight + e.Border));
    x_ = Plus(x_, e.Border);
    y_ = Plus(y_, e.Border);
    const int top = Plus(y_, e.VSpace);
    out_.addPicture(picture, QRect(x_, top, e.ImageWidth, e.ImageHeight));
    x_ = Plus(x_, static_cast<long long>(e.ImageWidth) + e.Border + e.HSpace);
    const int height = Plus(e.ImageHeight, 2LL * e.Border + 2LL * e.VSpace);
    lineHeight_ = std::max(lineHeight_, height);
    markLine(Plus(y_, height));
    drawnBottom_ = std::max(drawnBottom_, Plus(top, e.ImageHeight));
    anchorRight_ = x_;
}

void RenderPass::DrawBevel(bool sunken, int left, int top, int right, int bottom) {
    const HtmlColor highlight = doc_.BackColor == kWhite ? kButtonFace : kWhite;
    const HtmlColor topLeft = sunken ? kButtonShadow : highlight;
    const HtmlColor bottomRight = sunken ? highlight : kButtonShadow;
    drawLine(left, top, right, top, topLeft);
    drawLine(left, top, left, bottom, topLeft);
    drawLine(right, top, right, bottom, bottomRight);
    drawLine(left, bottom, Plus(right, 1), bottom, bottomRight);
}

} // namespace htmlview
