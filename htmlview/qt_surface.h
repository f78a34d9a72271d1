#pragma once
// The drawing surface on a QImage, through QPainter and the platform's fonts.

#include "htmlview/surface.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <optional>

namespace htmlview {

// The platform colour of a control colour (system colours resolved).
QColor ToQColor(HtmlColor color);

class QtImageSurface : public HtmlSurface {
public:
    // Paints on image, which must outlive the surface; painting ends when
    // the surface is destroyed.
    explicit QtImageSurface(QImage& image);
    ~QtImageSurface() override;

    int width() const override { return image_.width(); }
    int height() const override { return image_.height(); }
    void setFont(const FontState& font) override;
    int textWidth(const QString& text) override;
    int textHeight(const QString& text) override;
    void clear(HtmlColor background) override;
    void drawText(int x, int y, const QString& text, HtmlColor color) override;
    void drawLine(int x1, int y1, int x2, int y2, HtmlColor color) override;
    void drawPicture(const QImage& picture, const QRect& target) override;

private:
    QImage& image_;
    QPainter painter_;
    FontState state_;
    QFont font_;
    std::optional<QFontMetrics> metrics_;
};

} // namespace htmlview
