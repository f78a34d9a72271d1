#include "htmlview/text_metrics.h"

#include "htmlview/numeric.h"

#include <algorithm>

namespace htmlview {

void TextMetrics::setFont(const FontState& font) {
    surface_.setFont(font);
    for (size_t i = fonts_.size(); i-- > 0;) {
        if (fonts_[i].state == font) {
            current_ = i;
            return;
        }
    }
    fonts_.push_back({font, -1, {}});
    current_ = fonts_.size() - 1;
}

int TextMetrics::width(const ByteText& text) {
    if (fonts_.empty())
        setFont(FontState{});
    QHash<ByteText, int>& widths = fonts_[current_].widths;
    const auto known = widths.constFind(text);
    if (known != widths.constEnd())
        return *known;
    const int measured = std::clamp(surface_.textWidth(cp1251::toUnicode(text)), 0, kMaxPosition);
    // Texts that never come back would otherwise fill the cache without end.
    if (widths.size() >= kMaxCachedWidths)
        widths.clear();
    widths.insert(text, measured);
    return measured;
}

int TextMetrics::height() {
    if (fonts_.empty())
        setFont(FontState{});
    int& height = fonts_[current_].height;
    if (height < 0)
        height = std::clamp(surface_.textHeight(QStringLiteral("X")), 0, kMaxPosition);
    return height;
}

size_t TextMetrics::cachedWidths() const {
    size_t count = 0;
    for (const Font& font : fonts_)
        count += size_t(font.widths.size());
    return count;
}

} // namespace htmlview
