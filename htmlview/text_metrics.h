#pragma once
// Widths and line heights of texts in the fonts of one layout pass, each
// measured through the surface once: words repeat, and measuring through the
// platform's fonts is the costly part. Each font keeps at most
// kMaxCachedWidths widths, so a document of a million different texts (the
// numbers of a long list) costs no more memory than a page does.

#include "htmlview/surface.h"

#include <QHash>

#include <vector>

namespace htmlview {

class TextMetrics {
public:
    static constexpr qsizetype kMaxCachedWidths = 8192;

    explicit TextMetrics(HtmlSurface& surface) : surface_(surface) {}

    // Measures in this font from now on.
    void setFont(const FontState& font);
    // Within [0, kMaxPosition].
    int width(const ByteText& text);
    // The height of a line of the font.
    int height();

    // Widths held now, over all fonts.
    size_t cachedWidths() const;

private:
    struct Font {
        FontState state;
        int height = -1;
        QHash<ByteText, int> widths;
    };
    HtmlSurface& surface_;
    std::vector<Font> fonts_;
    size_t current_ = 0;
};

} // namespace htmlview
