// The HTML preview control from bytes to pixels: normalise, tokenize,
// interpret, lay out and paint, then scroll through the stored layout and
// dump it. The first byte picks the surface (recording or QImage), its width
// and the default font size; the rest is the document. Pictures are small
// and sized from their source text, so IMG and BODY BACKGROUND are laid out
// with real pictures, and a source holding "missing" has none.
#include "htmlview/document.h"
#include "htmlview/layout_dump.h"
#include "htmlview/qt_surface.h"
#include "htmlview/recording_surface.h"
#include "htmlview/render.h"
#include "tests/fuzz/fuzz_check.h"

#include <QImage>
#include <algorithm>
#include <cstdint>

using namespace htmlview;

namespace {

QImage pictureFor(const ByteText& source) {
    if (source.contains("missing"))
        return {};
    const size_t h = qHash(source);
    QImage picture(int(1 + h % 48), int(1 + (h / 48) % 48), QImage::Format_RGB32);
    picture.fill(uint(h));
    return picture;
}

// Lays out, then paints the top, a middle, the last drawn item and far past the end.
void layOutAndScroll(HtmlRenderer& renderer, HtmlSurface& surface) {
    renderer.Render(surface, true);
    int lastTop = 0;
    for (const DrawItem& item : renderer.displayList().items())
        lastTop = std::max(lastTop, item.top());
    for (int scroll : {lastTop / (2 * kScrollStep), lastTop / kScrollStep, 1 << 28})
        renderer.Render(surface, false, scroll);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::StartGuiApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const uint8_t control = data[0];
    static constexpr int widths[] = {400, 97, 1, 800};
    static constexpr float fontSizes[] = {10, 8, 24, 1};
    const int width = widths[control & 3];

    HtmlDocument doc;
    doc.EnableAnchors = control & 0x20;
    doc.EnableScroll = true;
    doc.DefaultFontSize = fontSizes[(control >> 3) & 3];
    doc.SetDocument(ByteText(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1)));
    (void)doc.DocumentTitle();

    HtmlRenderer renderer(doc);
    renderer.setImageLoader(pictureFor);
    if (control & 4) {
        QImage image(width, 120, QImage::Format_RGB32);
        QtImageSurface surface(image);
        layOutAndScroll(renderer, surface);
    } else {
        RecordingSurface surface(width, 120);
        layOutAndScroll(renderer, surface);
    }
    (void)DumpLayout(doc, renderer.displayList());
    return 0;
}
