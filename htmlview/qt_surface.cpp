#include "htmlview/qt_surface.h"

#include "htmlview/colors.h"

#include <QFont>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>
#include <QPalette>

#include <array>
#include <cmath>

namespace htmlview {

QColor ToQColor(HtmlColor color) {
    if (qGuiApp && (color == kButtonFace || color == kButtonShadow)) {
        const QPalette palette = QGuiApplication::palette();
        return palette.color(color == kButtonFace ? QPalette::Button : QPalette::Dark);
    }
    return QColor::fromRgb(ToRgb(color));
}

namespace {

QFont qFontOf(const FontState& state) {
    QFont font(state.name);
    font.setPointSizeF(state.size > 0 ? state.size : 1.0);
    font.setBold(state.bold);
    font.setItalic(state.italic);
    font.setUnderline(state.underline);
    font.setKerning(false);
    return font;
}

// Characters that take no part in shaping with their neighbours: Latin,
// Greek, Cyrillic and the general punctuation, every character of the
// Windows-1251 code page among them.
bool measuredAlone(char16_t c) {
    return c < 0x0590 || (c >= 0x2000 && c < 0x2200);
}

} // namespace

struct QtImageSurface::Font {
    Font(const FontState& s, QPaintDevice* device)
        : state(s), font(qFontOf(s)), metrics(font, device), exact(font, device) {
        advances.fill(-1);
    }

    // The width of the text as drawn, rounded as QFontMetrics rounds.
    int width(const QString& text) {
        qreal sum = 0;
        for (QChar c : text) {
            const char16_t code = c.unicode();
            if (!measuredAlone(code))
                return metrics.horizontalAdvance(text);
            qreal& advance = code < advances.size() ? advances[code] : others[code];
            if (advance < 0 || (code >= advances.size() && advance == 0))
                advance = exact.horizontalAdvance(c);
            sum += advance;
        }
        return int(std::lround(sum));
    }

    FontState state;
    QFont font;
    QFontMetrics metrics;
    QFontMetricsF exact;
    std::array<qreal, 0x0590> advances;
    QHash<char16_t, qreal> others;
};

QtImageSurface::QtImageSurface(QImage& image) : image_(image) {
    painter_.begin(&image_);
    setFont(FontState{});
}

QtImageSurface::~QtImageSurface() {
    painter_.end();
}

void QtImageSurface::setFont(const FontState& font) {
    if (current_ && current_->state == font)
        return;
    for (const auto& known : fonts_) {
        if (known->state == font) {
            current_ = known.get();
            return;
        }
    }
    fonts_.push_back(std::make_unique<Font>(font, &image_));
    current_ = fonts_.back().get();
}

int QtImageSurface::textWidth(const QString& text) {
    return current_->width(text);
}

int QtImageSurface::textHeight(const QString&) {
    return current_->metrics.height();
}

void QtImageSurface::clear(HtmlColor background) {
    image_.fill(ToQColor(background));
}

void QtImageSurface::drawText(int x, int y, const QString& text, HtmlColor color) {
    if (painterFont_ != current_) {
        painter_.setFont(current_->font);
        painterFont_ = current_;
    }
    painter_.setPen(ToQColor(color));
    painter_.drawText(x, y + current_->metrics.ascent(), text);
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
