#include "htmlview/qt_surface.h"

#include "htmlview/colors.h"

#include <QGuiApplication>
#include <QPalette>

namespace htmlview {

QColor ToQColor(HtmlColor color) {
    if (qGuiApp && (color == kButtonFace || color == kButtonShadow)) {
        const QPalette palette = QGuiApplication::palette();
        return palette.color(color == kButtonFace ? QPalette::Button : QPalette::Dark);
    }
    return QColor::fromRgb(ToRgb(color));
}

QtImageSurface::QtImageSurface(QImage& image) : image_(image) {
    painter_.begin(&image_);
    setFont(state_);
}

QtImageSurface::~QtImageSurface() {
    painter_.end();
}

void QtImageSurface::setFont(const FontState& font) {
    if (metrics_ && font == state_)
        return;
    state_ = font;
    font_ = QFont(font.name);
    font_.setPointSizeF(font.size > 0 ? font.size : 1.0);
    font_.setBold(font.bold);
    font_.setItalic(font.italic);
    font_.setUnderline(font.underline);
    painter_.setFont(font_);
    metrics_.emplace(font_, &image_);
}

int QtImageSurface::textWidth(const QString& text) {
    return metrics_->horizontalAdvance(text);
}

int QtImageSurface::textHeight(const QString&) {
    return metrics_->height();
}

void QtImageSurface::clear(HtmlColor background) {
    image_.fill(ToQColor(background));
}

void QtImageSurface::drawText(int x, int y, const QString& text, HtmlColor color) {
    painter_.setPen(ToQColor(color));
    painter_.drawText(x, y + metrics_->ascent(), text);
}

void QtImageSurface::drawLine(int x1, int y1, int x2, int y2, HtmlColor color) {
    // The end point itself is not drawn.
    if (y1 == y2 && x1 != x2)
        x2 += x2 > x1 ? -1 : 1;
    else if (x1 == x2 && y1 != y2)
        y2 += y2 > y1 ? -1 : 1;
    else if (x1 == x2)
        return;
    painter_.setPen(QPen(ToQColor(color), 0));
    painter_.drawLine(x1, y1, x2, y2);
}

void QtImageSurface::drawPicture(const QImage& picture, const QRect& target) {
    painter_.drawImage(target, picture);
}

} // namespace htmlview
