#pragma once
// What a layout pass drew, in document coordinates, indexed by vertical
// position: a paint-only pass (a scroll step) replays just the items that
// reach into the window, so its cost follows what is visible. Memory follows
// the number of items, wherever in the document they lie.

#include "htmlview/numeric.h"
#include "htmlview/surface.h"

#include <vector>

namespace htmlview {

struct DrawItem {
    enum Kind : quint8 { Text, Line, Picture };
    Kind kind = Text;
    int x1 = 0;
    int y1 = 0;
    int x2 = 0; // line end; picture right edge (exclusive)
    int y2 = 0; // line end; bottom (inclusive) of text and pictures
    // Text: the font's index in the list; picture: the picture's index.
    int font = 0;
    HtmlColor color = 0;
    // The element whose layout drew the item.
    int element = -1;
    // Text: where its bytes lie in the list's text store.
    int textLength = 0;
    qsizetype textStart = 0;

    int top() const { return std::min(y1, y2); }
    int bottom() const { return std::max(y1, y2) + 1; }
};

class DisplayList {
public:
    void clear();
    void setBackground(HtmlColor color, const QImage& tile);
    void setBackColor(HtmlColor color) { background_ = color; }
    // Items added from now on were drawn by this element.
    void setElement(int index) { element_ = index; }
    void addText(int x, int y, int height, const ByteText& text, const FontState& font,
                 HtmlColor color);
    void addLine(int x1, int y1, int x2, int y2, HtmlColor color);
    void addPicture(const QImage& picture, const QRect& target);

    // Paints the window of the surface's size that starts at document y
    // scrollOffset: background, background tiles, then the items it meets.
    void paint(HtmlSurface& surface, int scrollOffset) const;

    // Indices of the items meeting document rows [top, bottom), in drawing order.
    std::vector<int> itemsBetween(int top, int bottom) const;

    const std::vector<DrawItem>& items() const { return items_; }
    const FontState& font(int index) const { return fonts_[size_t(index)]; }
    ByteText text(const DrawItem& item) const;
    const QImage& picture(const DrawItem& item) const { return pictures_[size_t(item.font)]; }
    // Bytes held by the items, their texts and the position index (pictures
    // are shared with whoever loaded them and not counted).
    size_t memoryUsed() const;

private:
    // Levels of buckets, level L with buckets of 128 << L rows. Every item
    // sits at the lowest level where it meets at most two buckets, under the
    // first of them, so tall items (frames of long tables) cost no more than
    // short ones, and a window visits a few buckets per level. A level keeps
    // only the buckets that hold something, as (bucket, item) entries in
    // order.
    static constexpr int kBucketRows = 128;
    static constexpr int kLevels = 24;
    struct Entry {
        int bucket;
        int item;
        bool operator<(const Entry& other) const {
            return bucket != other.bucket ? bucket < other.bucket : item < other.item;
        }
    };
    struct Level {
        std::vector<Entry> entries;
        bool sorted = true;
    };
    DrawItem& add(DrawItem::Kind kind, int x1, int y1, int x2, int y2, HtmlColor color);
    void index(int item);
    void sortIndex() const;
    int fontIndex(const FontState& font);

    std::vector<DrawItem> items_;
    std::vector<FontState> fonts_;
    std::vector<QImage> pictures_;
    ByteText texts_;
    mutable std::vector<Level> levels_;
    int element_ = -1;
    HtmlColor background_ = kButtonFace;
    QImage tile_;
};

// Tiles the picture over the surface, moving with the scrolled text.
void TileBackground(HtmlSurface& surface, const QImage& tile, int scrollOffset);

} // namespace htmlview
