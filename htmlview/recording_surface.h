#pragma once
// A drawing surface with fixed metrics that records what is drawn, so that
// layout numbers are exact in tests and do not depend on installed fonts.
// Every glyph of a font of size s is NearestEven(0.8 s) pixels wide and
// NearestEven(1.6 s) pixels high: 8 x 16 at 10 points.

#include "htmlview/surface.h"

#include <QStringList>

namespace htmlview {

class RecordingSurface : public HtmlSurface {
public:
    RecordingSurface(int width, int height) : width_(width), height_(height) {}

    int width() const override { return width_; }
    int height() const override { return height_; }
    void setFont(const FontState& font) override { font_ = font; }
    int textWidth(const QString& text) override;
    int textHeight(const QString& text) override;
    void clear(HtmlColor background) override;
    void drawText(int x, int y, const QString& text, HtmlColor color) override;
    void drawLine(int x1, int y1, int x2, int y2, HtmlColor color) override;
    void drawPicture(const QImage& picture, const QRect& target) override;

    static int glyphWidth(double size);
    static int glyphHeight(double size);

    // One line per drawing call, e.g. `text 4 4 "Hi" size=10 b=0 i=0 u=0 color=000000`.
    QStringList log;
    int drawCalls = 0;

private:
    int width_;
    int height_;
    FontState font_;
};

} // namespace htmlview
