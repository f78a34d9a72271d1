#include "ui/text_colours.h"

#include <cmath>

namespace {

double Channel(double value) {
    const double c = value;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor& colour) {
    return 0.2126 * Channel(colour.redF()) + 0.7152 * Channel(colour.greenF()) +
           0.0722 * Channel(colour.blueF());
}

} // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ReadableOn(const QColor& wanted, const QColor& background) {
    // Towards white on a dark background, towards black on a light one, in
    // small steps, so the colour keeps as much of its hue as it can.
    const bool darkBackground = Luminance(background) < 0.18;
    const QColor end = darkBackground ? QColor(Qt::white) : QColor(Qt::black);
    QColor shade = wanted;
    for (int step = 1; step <= 20 && ContrastRatio(shade, background) < ReadableContrast; ++step) {
        const double t = step / 20.0;
        shade = QColor::fromRgbF(float(wanted.redF() + (end.redF() - wanted.redF()) * t),
                                 float(wanted.greenF() + (end.greenF() - wanted.greenF()) * t),
                                 float(wanted.blueF() + (end.blueF() - wanted.blueF()) * t));
    }
    return shade;
}

QColor LinkColour(const QPalette& palette) {
    return ReadableOn(palette.color(QPalette::Link), palette.color(QPalette::Window));
}

QColor WarningColour(const QPalette& palette) {
    const QColor background = palette.color(QPalette::Window);
    const bool dark = Luminance(background) < 0.18;
    return ReadableOn(dark ? QColor(255, 110, 110) : QColor(192, 0, 0), background);
}
