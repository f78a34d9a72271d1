#pragma once
// Lays a document out on a drawing surface and paints it.

#include "htmlview/display_list.h"
#include "htmlview/document.h"

#include <functional>

namespace htmlview {

// Asked for the picture of an IMG source or of the BODY background; a null
// image means there is no picture.
using ImageLoader = std::function<QImage(const ByteText& source)>;

// The pixel offset of a scroll value: scroll steps are 10 pixels.
inline constexpr int kScrollStep = 10;

// What the last layout pass held, for checking that memory follows what is
// drawn.
struct LayoutFigures {
    size_t items = 0;            // drawn
    size_t displayListBytes = 0; // the items, their texts and their index
    size_t cachedWidths = 0;     // text widths the pass kept measured
};

class HtmlRenderer {
public:
    explicit HtmlRenderer(HtmlDocument& document) : doc_(document) {}

    void setImageLoader(ImageLoader loader) { loader_ = std::move(loader); }

    // DoLayout true: flows the whole document from the top at the surface's
    // width, stores every element's box and paints the top of the document.
    // DoLayout false: paints the window at 10 x scrollValue (with
    // EnableScroll) from what the last layout stored (lays out first when
    // there is none); it costs what is visible, not what the document holds.
    void Render(HtmlSurface& surface, bool DoLayout, int scrollValue = 0);

    // Forgets the layout (a new document or new settings).
    void invalidate() { laidOut_ = false; }
    bool hasLayout() const { return laidOut_; }
    const DisplayList& displayList() const { return list_; }
    const LayoutFigures& figures() const { return figures_; }

private:
    HtmlDocument& doc_;
    ImageLoader loader_;
    DisplayList list_;
    LayoutFigures figures_;
    bool laidOut_ = false;
};

} // namespace htmlview
