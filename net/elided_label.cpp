#include "net/elided_label.h"

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

#include "moc_elided_label.cpp"
