#pragma once
// The drawing surface layout measures with and painting draws on. One
// adapter paints a QImage; the test surface has fixed metrics and records.

#include "htmlview/html_element.h"

#include <QImage>
#include <QRect>
#include <QString>

namespace htmlview {

struct FontState {
    QString name;
    double size = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;

    bool operator==(const FontState&) const = default;
};

class HtmlSurface {
public:
    virtual ~HtmlSurface() = default;

    // Inner size in pixels.
    virtual int width() const = 0;
    virtual int height() const = 0;

    virtual void setFont(const FontState& font) = 0;
    // Measured in the font last set. The height is that of a line of the
    // font, the same for every text, so layout asks for it once per font.
    virtual int textWidth(const QString& text) = 0;
    virtual int textHeight(const QString& text) = 0;

    virtual void clear(HtmlColor background) = 0;
    // Text with its top-left corner at (x, y).
    virtual void drawText(int x, int y, const QString& text, HtmlColor color) = 0;
    // A one-pixel line including both end points.
    virtual void drawLine(int x1, int y1, int x2, int y2, HtmlColor color) = 0;
    virtual void drawPicture(const QImage& picture, const QRect& target) = 0;
};

} // namespace htmlview
