// The control's input: keys scroll (the others go on to the window, so
// Esc closes a dialog), the pointer and tooltip follow links,
// clicks are delivered after the mouse handler through the 100 ms timer.
#include "htmlview/html_label.h"

#include "htmlview/html_viewport.h"
#include "htmlview/script_call.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>

namespace htmlview {

int HTMLLabel::anchorAt(const QPoint& point, bool boundsIncluded) const {
    const int offset = kScrollStep * vscScroll_->value();
    const int x = point.x();
    const int y = point.y();
    for (int index : doc_.Anchors) {
        if (index < 0 || index >= doc_.Elements.size())
            continue;
        const HtmlElement& a = doc_.Elements[index];
        const int top = a.Top - offset;
        const int bottom = a.Bottom - offset;
        const bool inside = boundsIncluded ? x >= a.Left && x <= a.Right && y >= top && y <= bottom
                                           : x > a.Left && x < a.Right && y > top && y < bottom;
        // The pointer looks only at links; a click takes the first box met.
        if (inside && (boundsIncluded || !a.Href.isEmpty()))
            return index;
    }
    return -1;
}

void HTMLLabel::onMouseMove(QMouseEvent* event) {
    if (!doc_.EnableAnchors)
        return;
    const int hit = anchorAt(event->position().toPoint(), false);
    if (hit >= 0) {
        picViewPort_->setCursor(Qt::PointingHandCursor);
        if (enableTooltips_) {
            const HtmlElement& a = doc_.Elements[hit];
            const QString tip = cp1251::toUnicode(a.TitleText.isEmpty() ? a.Href : a.TitleText);
            picViewPort_->setToolTip(tip);
            QToolTip::showText(event->globalPosition().toPoint(), tip, picViewPort_);
        }
    } else {
        picViewPort_->setCursor(Qt::ArrowCursor);
        picViewPort_->setToolTip(QString());
        QToolTip::hideText();
    }
}

void HTMLLabel::jumpToAnchor(const ByteText& name) {
    int target = -1;
    for (const HtmlElement& e : doc_.Elements) {
        if (e.AnchorName == name)
            target = std::min(e.Top / kScrollStep, vscScroll_->maximum());
    }
    if (target >= vscScroll_->minimum())
        vscScroll_->setValue(target);
}

void HTMLLabel::onMouseRelease(QMouseEvent* event) {
    if (!doc_.EnableAnchors)
        return;
    const int hit = anchorAt(event->position().toPoint(), true);
    if (hit < 0)
        return;
    const ByteText href = doc_.Elements[hit].Href;
    if (href.isEmpty())
        return;
    if (href.startsWith('#') && doc_.EnableScroll) {
        jumpToAnchor(href.mid(1));
        return;
    }
    PendingHref = href;
    tmrHyperlinkClick_.start();
}

void HTMLLabel::onHyperlinkTimer() {
    tmrHyperlinkClick_.stop();
    if (PendingHref.isEmpty())
        return;
    // Cleared first: the host may set a new document or close the window.
    const QString href = cp1251::toUnicode(PendingHref);
    PendingHref.clear();
    if (IsScriptHref(href))
        InvokeScriptCall(window(), ParseScriptCall(href.mid(3)));
    else
        Q_EMIT HyperlinkClick(href);
}

void HTMLLabel::onWheel(QWheelEvent* event) {
    if (!doc_.EnableScroll || !vscScroll_->isEnabled()) {
        event->ignore();
        return;
    }
    constexpr int notch = 120; // eighths of a degree
    wheelRest_ += event->angleDelta().y();
    const int notches = wheelRest_ / notch;
    wheelRest_ -= notches * notch;
    const int pixels = notches * QApplication::wheelScrollLines() * fontMetrics().lineSpacing();
    // Up the wheel is up the document; the bar counts steps of kScrollStep.
    const int steps = pixels / kScrollStep;
    vscScroll_->setValue(vscScroll_->value() - steps);
    event->accept();
}

bool HTMLLabel::onKeyPress(QKeyEvent* event) {
    if (!doc_.EnableScroll)
        return false;
    QScrollBar* bar = vscScroll_;
    const int value = bar->value();
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Up:
        if (value > bar->minimum())
            bar->setValue(value - bar->singleStep());
        return true;
    case Qt::Key_Down:
        if (value < bar->maximum())
            bar->setValue(value + bar->singleStep());
        return true;
    case Qt::Key_PageUp:
        if (value > bar->minimum())
            bar->setValue(std::max(bar->minimum(), value - bar->pageStep()));
        return true;
    case Qt::Key_PageDown:
        if (value < bar->maximum())
            bar->setValue(std::min(bar->maximum(), value + bar->pageStep()));
        return true;
    case Qt::Key_Home:
        if (!ctrl)
            return false;
        bar->setValue(bar->minimum());
        return true;
    case Qt::Key_End:
        if (!ctrl)
            return false;
        bar->setValue(bar->maximum());
        return true;
    default:
        return false;
    }
}

} // namespace htmlview
