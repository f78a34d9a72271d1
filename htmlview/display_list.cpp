#include "htmlview/display_list.h"

#include "htmlview/numeric.h"

#include <algorithm>

namespace htmlview {

void DisplayList::clear() {
    items_.clear();
    fonts_.clear();
    levels_.clear();
    tile_ = QImage();
}

void DisplayList::setBackground(HtmlColor color, const QImage& tile) {
    background_ = color;
    tile_ = tile;
}

int DisplayList::fontIndex(const FontState& font) {
    // Fonts change rarely, so the last few entries almost always match.
    for (size_t i = fonts_.size(); i-- > 0;) {
        if (fonts_[i] == font)
            return int(i);
        if (fonts_.size() - i > 8)
            break;
    }
    fonts_.push_back(font);
    return int(fonts_.size() - 1);
}

void DisplayList::index(int item) {
    const DrawItem& d = items_[size_t(item)];
    const long long top = std::max(0, d.top());
    const long long last = std::max<long long>(top, d.bottom() - 1);
    if (levels_.empty())
        levels_.resize(kLevels);
    for (int level = 0; level < kLevels; ++level) {
        const long long rows = static_cast<long long>(kBucketRows) << level;
        const long long first = top / rows;
        const long long lastBucket = last / rows;
        if (lastBucket - first <= 1 || level == kLevels - 1) {
            auto& buckets = levels_[size_t(level)];
            if (buckets.size() <= size_t(lastBucket))
                buckets.resize(size_t(lastBucket) + 1);
            for (long long b = first; b <= lastBucket; ++b)
                buckets[size_t(b)].push_back(item);
            return;
        }
    }
}

void DisplayList::addText(int x, int y, int height, const ByteText& text, const FontState& font,
                          HtmlColor color) {
    DrawItem d;
    d.kind = DrawItem::Text;
    d.x1 = d.x2 = x;
    d.y1 = y;
    d.y2 = y + std::max(0, height - 1);
    d.font = fontIndex(font);
    d.color = color;
    d.text = text;
    items_.push_back(std::move(d));
    index(int(items_.size() - 1));
}

void DisplayList::addLine(int x1, int y1, int x2, int y2, HtmlColor color) {
    DrawItem d;
    d.kind = DrawItem::Line;
    d.x1 = x1;
    d.y1 = y1;
    d.x2 = x2;
    d.y2 = y2;
    d.color = color;
    items_.push_back(std::move(d));
    index(int(items_.size() - 1));
}

void DisplayList::addPicture(const QImage& picture, const QRect& target) {
    DrawItem d;
    d.kind = DrawItem::Picture;
    d.x1 = target.left();
    d.y1 = target.top();
    d.x2 = target.left() + target.width();
    d.y2 = target.top() + std::max(0, target.height() - 1);
    d.picture = picture;
    items_.push_back(std::move(d));
    index(int(items_.size() - 1));
}

std::vector<int> DisplayList::itemsBetween(int top, int bottom) const {
    std::vector<int> found;
    if (bottom <= top)
        return found;
    const long long from = std::max(0, top);
    const long long to = std::max<long long>(from, bottom - 1);
    for (size_t level = 0; level < levels_.size(); ++level) {
        const auto& buckets = levels_[level];
        const long long rows = static_cast<long long>(kBucketRows) << level;
        for (long long b = from / rows; b <= to / rows && size_t(b) < buckets.size(); ++b) {
            for (int item : buckets[size_t(b)]) {
                const DrawItem& d = items_[size_t(item)];
                if (d.bottom() > top && d.top() < bottom)
                    found.push_back(item);
            }
        }
    }
    // An item in two buckets is met twice; drawing keeps the document order.
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
}

void DisplayList::paint(HtmlSurface& surface, int scrollOffset) const {
    surface.clear(background_);
    if (!tile_.isNull())
        TileBackground(surface, tile_, scrollOffset);
    int currentFont = -1;
    for (int index : itemsBetween(scrollOffset, scrollOffset + surface.height())) {
        const DrawItem& d = items_[size_t(index)];
        switch (d.kind) {
        case DrawItem::Text:
            if (d.font != currentFont) {
                surface.setFont(fonts_[size_t(d.font)]);
                currentFont = d.font;
            }
            surface.drawText(d.x1, d.y1 - scrollOffset, cp1251::toUnicode(d.text), d.color);
            break;
        case DrawItem::Line:
            surface.drawLine(d.x1, d.y1 - scrollOffset, d.x2, d.y2 - scrollOffset, d.color);
            break;
        case DrawItem::Picture:
            surface.drawPicture(d.picture,
                                QRect(d.x1, d.y1 - scrollOffset, d.x2 - d.x1, d.y2 - d.y1 + 1));
            break;
        }
    }
}

void TileBackground(HtmlSurface& surface, const QImage& tile, int scrollOffset) {
    const int w = NearestEven(tile.width());
    const int h = NearestEven(tile.height());
    if (w <= 0 || h <= 0)
        return;
    const int rows = NearestEven(double(surface.height()) / h + 1);
    const int columns = NearestEven(double(surface.width()) / w);
    const int shift = scrollOffset % h;
    for (int r = 0; r <= rows; ++r) {
        for (int c = 0; c <= columns; ++c)
            surface.drawPicture(tile, QRect(c * w, r * h - shift, w, h));
    }
}

} // namespace htmlview
