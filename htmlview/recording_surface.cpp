#include "htmlview/recording_surface.h"

#include "htmlview/numeric.h"

#include <algorithm>
#include <limits>

namespace htmlview {

int RecordingSurface::glyphWidth(double size) {
    return std::max(1, NearestEven(size * 0.8));
}

int RecordingSurface::glyphHeight(double size) {
    return std::max(1, NearestEven(size * 1.6));
}

int RecordingSurface::textWidth(const QString& text) {
    const long long width = static_cast<long long>(text.size()) * glyphWidth(font_.size);
    return int(std::min<long long>(width, std::numeric_limits<int>::max()));
}

int RecordingSurface::textHeight(const QString&) {
    return glyphHeight(font_.size);
}

void RecordingSurface::clear(HtmlColor background) {
    log.append(QStringLiteral("clear %1").arg(background, 6, 16, QLatin1Char('0')));
}

void RecordingSurface::drawText(int x, int y, const QString& text, HtmlColor color) {
    ++drawCalls;
    log.append(QStringLiteral("text %1 %2 \"%3\" size=%4 b=%5 i=%6 u=%7 color=%8")
                   .arg(x)
                   .arg(y)
                   .arg(text)
                   .arg(font_.size)
                   .arg(int(font_.bold))
                   .arg(int(font_.italic))
                   .arg(int(font_.underline))
                   .arg(color, 6, 16, QLatin1Char('0')));
}

void RecordingSurface::drawLine(int x1, int y1, int x2, int y2, HtmlColor color) {
    ++drawCalls;
    log.append(QStringLiteral("line %1 %2 %3 %4 color=%5")
                   .arg(x1)
                   .arg(y1)
                   .arg(x2)
                   .arg(y2)
                   .arg(color, 6, 16, QLatin1Char('0')));
}

void RecordingSurface::drawPicture(const QImage& picture, const QRect& target) {
    ++drawCalls;
    log.append(QStringLiteral("picture %1 %2 %3 %4 from %5x%6")
                   .arg(target.x())
                   .arg(target.y())
                   .arg(target.width())
                   .arg(target.height())
                   .arg(picture.width())
                   .arg(picture.height()));
}

} // namespace htmlview
