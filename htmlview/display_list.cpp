#include "htmlview/display_list.h"

#include "htmlview/numeric.h"

#include <algorithm>

namespace htmlview {

namespace {

int bounded(long long coordinate) {
    return Saturate(coordinate);
}

} // namespace

void DisplayList::clear() {
    items_.clear();
    fonts_.clear();
    pictures_.clear();
    texts_.clear();
    levels_.clear();
    element_ = -1;
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

DrawItem& DisplayList::add(DrawItem::Kind kind, int x1, int y1, int x2, int y2, HtmlColor color) {
    DrawItem& d = items_.emplace_back();
    d.kind = kind;
    d.x1 = bounded(x1);
    d.y1 = bounded(y1);
    d.x2 = bounded(x2);
    d.y2 = bounded(y2);
    d.color = color;
    d.element = element_;
    return d;
}

void DisplayList::index(int item) {
    const DrawItem& d = items_[size_t(item)];
    const int top = std::max(0, d.top());
    const int last = std::max(top, d.bottom() - 1);
    if (levels_.empty())
        levels_.resize(kLevels);
    for (int level = 0; level < kLevels; ++level) {
        const int rows = kBucketRows << level;
        if (last / rows - top / rows <= 1 || level == kLevels - 1) {
            // Kept under its first bucket: items come mostly top to bottom,
            // so the entries stay in order as they are added.
            Level& l = levels_[size_t(level)];
            const int bucket = top / rows;
            if (!l.entries.empty() && bucket < l.entries.back().bucket)
                l.sorted = false;
            l.entries.push_back({bucket, item});
            return;
        }
    }
}

void DisplayList::addText(int x, int y, int height, const ByteText& text, const FontState& font,
                          HtmlColor color) {
    DrawItem& d =
        add(DrawItem::Text, x, y, x, bounded(static_cast<long long>(y) + height - 1), color);
    d.y2 = std::max(d.y1, d.y2);
    d.font = fontIndex(font);
    d.textStart = texts_.size();
    d.textLength = int(text.size());
    texts_ += text;
    index(int(items_.size() - 1));
}

void DisplayList::addLine(int x1, int y1, int x2, int y2, HtmlColor color) {
    add(DrawItem::Line, x1, y1, x2, y2, color);
    index(int(items_.size() - 1));
}

void DisplayList::addPicture(const QImage& picture, const QRect& target) {
    const long long left = target.left();
    const long long top = target.top();
    DrawItem& d = add(DrawItem::Picture, int(left), int(top), bounded(left + target.width()),
                      bounded(top + std::max(0, target.height() - 1)), 0);
    d.font = int(pictures_.size());
    pictures_.push_back(picture);
    index(int(items_.size() - 1));
}

ByteText DisplayList::text(const DrawItem& item) const {
    return texts_.mid(item.textStart, item.textLength);
}

size_t DisplayList::memoryUsed() const {
    size_t bytes = items_.capacity() * sizeof(DrawItem) + fonts_.capacity() * sizeof(FontState) +
                   pictures_.capacity() * sizeof(QImage) + size_t(texts_.capacity());
    for (const Level& l : levels_)
        bytes += l.entries.capacity() * sizeof(Entry);
    return bytes;
}

void DisplayList::sortIndex() const {
    for (Level& l : levels_) {
        if (!l.sorted) {
            std::sort(l.entries.begin(), l.entries.end());
            l.sorted = true;
        }
    }
}

std::vector<int> DisplayList::itemsBetween(int top, int bottom) const {
    std::vector<int> found;
    if (bottom <= top)
        return found;
    sortIndex();
    const int from = std::max(0, top);
    const int to = std::max(from, bottom - 1);
    for (size_t level = 0; level < levels_.size(); ++level) {
        const std::vector<Entry>& entries = levels_[level].entries;
        const int rows = kBucketRows << level;
        // An item reaching into the window may begin one bucket above it.
        const int first = std::max(0, from / rows - 1);
        auto it = std::lower_bound(entries.begin(), entries.end(), Entry{first, -1});
        for (; it != entries.end() && it->bucket <= to / rows; ++it) {
            const DrawItem& d = items_[size_t(it->item)];
            if (d.bottom() > top && d.top() < bottom)
                found.push_back(it->item);
        }
    }
    // Drawing keeps the document order.
    std::sort(found.begin(), found.end());
    return found;
}

void DisplayList::paint(HtmlSurface& surface, int scrollOffset) const {
    surface.clear(background_);
    if (!tile_.isNull())
        TileBackground(surface, tile_, scrollOffset);
    int currentFont = -1;
    const int windowEnd = bounded(static_cast<long long>(scrollOffset) + surface.height());
    for (int index : itemsBetween(scrollOffset, windowEnd)) {
        const DrawItem& d = items_[size_t(index)];
        switch (d.kind) {
        case DrawItem::Text:
            if (d.font != currentFont) {
                surface.setFont(fonts_[size_t(d.font)]);
                currentFont = d.font;
            }
            surface.drawText(d.x1, d.y1 - scrollOffset, cp1251::toUnicode(text(d)), d.color);
            break;
        case DrawItem::Line:
            surface.drawLine(d.x1, d.y1 - scrollOffset, d.x2, d.y2 - scrollOffset, d.color);
            break;
        case DrawItem::Picture:
            surface.drawPicture(picture(d),
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
