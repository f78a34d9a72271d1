#pragma once
// What a layout pass drew, in document coordinates, indexed by vertical
// position: a paint-only pass (a scroll step) replays just the items that
// reach into the window, so its cost follows what is visible.

#include "htmlview/surface.h"

#include <vector>

namespace htmlview {

struct DrawItem {
    enum Kind { Text, Line, Picture };
    Kind kind = Text;
    int x1 = 0;
    int y1 = 0;
    int x2 = 0; // line end; picture right edge (exclusive)
    int y2 = 0; // line end; bottom (exclusive) of text and pictures
    int font = 0;
    HtmlColor color = 0;
    ByteText text; // converted when painted
    QImage picture;

    int top() const { return std::min(y1, y2); }
    int bottom() const { return std::max(y1, y2) + 1; }
};

class DisplayList {
public:
    void clear();
    void setBackground(HtmlColor color, const QImage& tile);
    void setBackColor(HtmlColor color) { background_ = color; }
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

private:
    // A grid of buckets per level, level L with buckets of 128 << L rows.
    // Every item sits at the lowest level where it meets at most two
    // buckets, so tall items (frames of long tables) cost no more than short
    // ones, and a window visits a bucket or two per level.
    static constexpr int kBucketRows = 128;
    static constexpr int kLevels = 24;
    void index(int item);
    int fontIndex(const FontState& font);

    std::vector<DrawItem> items_;
    std::vector<FontState> fonts_;
    std::vector<std::vector<std::vector<int>>> levels_;
    HtmlColor background_ = kButtonFace;
    QImage tile_;
};

// Tiles the picture over the surface, moving with the scrolled text.
void TileBackground(HtmlSurface& surface, const QImage& tile, int scrollOffset);

} // namespace htmlview
