#include "htmlview/html_viewport.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace htmlview {

HtmlViewport::HtmlViewport(const QImage& surface, QWidget* parent)
    : QWidget(parent), surface_(surface) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void HtmlViewport::paintEvent(QPaintEvent*) {
    // A plain copy of the surface, pixel for pixel.
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), surface_);
}

void HtmlViewport::mouseMoveEvent(QMouseEvent* event) {
    if (onMouseMove)
        onMouseMove(event);
}

void HtmlViewport::mouseReleaseEvent(QMouseEvent* event) {
    if (onMouseRelease)
        onMouseRelease(event);
}

void HtmlViewport::keyPressEvent(QKeyEvent* event) {
    if (!onKeyPress || !onKeyPress(event))
        QWidget::keyPressEvent(event); // ignores it: the parent gets it
}

void HtmlViewport::wheelEvent(QWheelEvent* event) {
    if (onWheel)
        onWheel(event);
    else
        QWidget::wheelEvent(event);
}

} // namespace htmlview

#include "moc_html_viewport.cpp"
