#pragma once
// The drawing surface on a QImage, through QPainter and the platform's fonts.
//
// Text is measured as the sum of its characters' advances, each asked of the
// font once per surface, and drawn without kerning, so that what is drawn is
// as wide as what was measured: measuring stays cheap (no shaping of every
// word) and a measured run is never narrower than the drawn one (ligatures
// only make it narrower).

#include "htmlview/surface.h"

#include <memory>
#include <vector>

#include <QPainter>

namespace htmlview {

// The platform colour of a control colour (system colours resolved).
QColor ToQColor(HtmlColor color);

class QtImageSurface : public HtmlSurface {
public:
    // Paints on image, which must outlive the surface; painting ends when
    // the surface is destroyed.
    explicit QtImageSurface(QImage& image);
    ~QtImageSurface() override;

    // In the layout's pixels: an image for a high-density screen has more
    // of its own (its device pixel ratio), and QPainter draws into them.
    int width() const override { return qRound(image_.deviceIndependentSize().width()); }
    int height() const override { return qRound(image_.deviceIndependentSize().height()); }
    void setFont(const FontState& font) override;
    int textWidth(const QString& text) override;
    int textHeight(const QString& text) override;
    void clear(HtmlColor background) override;
    void drawText(int x, int y, const QString& text, HtmlColor color) override;
    void drawLine(int x1, int y1, int x2, int y2, HtmlColor color) override;
    void drawPicture(const QImage& picture, const QRect& target) override;

private:
    struct Font;
    QImage& image_;
    QPainter painter_;
    std::vector<std::unique_ptr<Font>> fonts_;
    Font* current_ = nullptr;
    const Font* painterFont_ = nullptr;
};

} // namespace htmlview
