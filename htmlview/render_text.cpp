#include "htmlview/numeric.h"
#include "htmlview/render_pass.h"

namespace htmlview {

void RenderPass::flowText(HtmlElement& e) {
    e.Left = x_;
    e.Indent = hang_;
    if (e.AlignCenter || rightAlign_)
        flowCentredOrRight(e);
    else
        flowLeftAligned(e);
}

void RenderPass::drawPiece(ByteText piece) {
    if (piece.isEmpty())
        return;
    textX_ = x_;
    textY_ = y_;
    if (underlinePending_) {
        // The separator before a link's first word is not underlined.
        if (piece.startsWith(' ')) {
            static const ByteText space = QByteArrayLiteral(" ");
            drawKeepLine(space);
            x_ = Plus(x_, textWidth(space));
            piece.remove(0, 1);
        }
        style_.font.underline = true;
        fontSynced_ = false;
        underlinePending_ = false;
    }
    drawEndLine(piece);
    x_ = NearestPosition(double(x_) + textWidth(piece));
    anchorRight_ = std::max(anchorRight_, x_);
}

void RenderPass::flowLeftAligned(HtmlElement& e) {
    const int lineStart = Plus(margin_, e.Indent);
    for (qsizetype w = 0; w < e.Words.size(); ++w) {
        const ByteText& word = e.Words[w];
        const bool noSeparator = x_ == lineStart || word.isEmpty() || word.startsWith('.') ||
                                 word.startsWith(',') || x_ == Plus(margin_, 4);
        ByteText piece = noSeparator ? word : " " + word;
        const bool firstOfAnchor = openAnchor_ >= 0 && w == 0;
        if (static_cast<long long>(x_) + textWidth(piece) >= limit_ - 4LL) {
            if (piece.startsWith(' '))
                piece.remove(0, 1);
            anchorRight_ = Plus(limit_, -4);
            x_ = lineStart;
            newLine();
            if (firstOfAnchor) {
                e_[openAnchor_].Top = y_;
                e_[openAnchor_].Left = x_;
            }
            drawPiece(piece);
            if (firstOfAnchor)
                anchorRight_ = x_;
        } else {
            drawPiece(piece);
        }
        blankLine_ = false;
    }
}

void RenderPass::flowCentredOrRight(HtmlElement& e) {
    // Centred lines are lines of their own, not drawn over what the current
    // line holds.
    if (lineUsed_)
        newLine();
    const QList<ByteText>& words = e.Words;
    qsizetype next = 0;
    while (next < words.size()) {
        ByteText line = words[next++];
        while (next < words.size()) {
            const ByteText longer = line + ' ' + words[next];
            if (static_cast<long long>(margin_) + textWidth(longer) > limit_ - 8LL)
                break;
            line = longer;
            ++next;
        }
        const int width = textWidth(line);
        const double x = rightAlign_ ? double(limit_) - width
                                     : (double(limit_) - margin_ - width) / 2.0 + margin_;
        x_ = NearestPosition(x);
        if (openAnchor_ >= 0) {
            e_[openAnchor_].Top = y_;
            anchorRight_ = NearestPosition(double(x_) + width);
        }
        textX_ = x_;
        textY_ = y_;
        drawEndLine(line);
        blankLine_ = false;
        newLine();
    }
}

} // namespace htmlview
