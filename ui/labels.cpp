#include "ui/labels.h"

#include "ui/text_colours.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMouseEvent>
#include <QResizeEvent>

ElidedLabel::ElidedLabel(const QString& text, QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setFullText(text);
}

void ElidedLabel::setFullText(const QString& text) {
    if (text == full_ && !QLabel::text().isEmpty())
        return;
    full_ = text;
    elide();
}

QSize ElidedLabel::sizeHint() const {
    return {minimumWidth(), QLabel::sizeHint().height()};
}

QSize ElidedLabel::minimumSizeHint() const {
    return sizeHint();
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    elide();
}

void ElidedLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        elide();
}

void ElidedLabel::elide() {
    const QString shown = fontMetrics().elidedText(full_, Qt::ElideRight, contentsRect().width());
    if (shown != QLabel::text())
        setText(shown);
    setToolTip(shown == full_ ? QString() : full_);
}

void ShowAsLink(QLabel* label, bool asLink, QPalette::ColorRole plainRole) {
    // The plain colour comes from the surroundings: the label's own palette
    // may still hold the link's blue.
    const QPalette around =
        label->parentWidget() ? label->parentWidget()->palette() : QApplication::palette();
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, asLink ? LinkColour(around) : around.color(plainRole));
    label->setPalette(palette);
    QFont font = label->font();
    font.setUnderline(asLink);
    label->setFont(font);
    if (asLink)
        label->setCursor(Qt::PointingHandCursor);
    else
        label->unsetCursor();
}

LinkLabel::LinkLabel(const QString& text, const QUrl& url, const QString& toolTip, QWidget* parent)
    : QLabel(text, parent), url_(url) {
    setToolTip(toolTip);
    ShowAsLink(this, true);
}

// A press that is dragged off the label and released elsewhere opens nothing.
void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint()))
        return;
    QDesktopServices::openUrl(url_);
}

#include "moc_labels.cpp"
