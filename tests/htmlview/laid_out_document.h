#pragma once
// A document laid out on the fixed-metrics surface, for layout tests:
// glyphs are 8 x 16 pixels at 10 points, so a line is 20 pixels high.

#include "htmlview/document.h"
#include "htmlview/layout_dump.h"
#include "htmlview/recording_surface.h"
#include "htmlview/render.h"

namespace htmlview::test {

struct LaidOutDocument {
    HtmlDocument doc;
    HtmlRenderer renderer{doc};
    RecordingSurface surface;

    explicit LaidOutDocument(const ByteText& html, int width = 400, int height = 300,
                             ImageLoader loader = {})
        : surface(width, height) {
        doc.EnableAnchors = true;
        doc.EnableScroll = true;
        renderer.setImageLoader(std::move(loader));
        doc.SetDocument(html);
        renderer.Render(surface, true);
    }

    QString dump() const { return DumpLayout(doc, renderer.displayList()); }

    // The first element whose token is exactly text.
    const HtmlElement& element(const char* text) const {
        for (const HtmlElement& e : doc.Elements) {
            if (e.Text == text)
                return e;
        }
        static const HtmlElement none;
        return none;
    }
    // Texts drawn, in drawing order.
    QStringList drawnTexts() const {
        QStringList texts;
        const DisplayList& list = renderer.displayList();
        for (const DrawItem& d : list.items()) {
            if (d.kind == DrawItem::Text)
                texts.append(cp1251::toUnicode(list.text(d)));
        }
        return texts;
    }
    const DrawItem* drawn(const QString& text) const {
        const DisplayList& list = renderer.displayList();
        for (const DrawItem& d : list.items()) {
            if (d.kind == DrawItem::Text && cp1251::toUnicode(list.text(d)) == text)
                return &d;
        }
        return nullptr;
    }
};

// The piece written times times over.
inline ByteText Repeated(const ByteText& piece, int times) {
    ByteText out;
    out.reserve(piece.size() * times);
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

// A picture of the given size for every source that is not "missing".
inline ImageLoader PicturesOf(int width, int height) {
    return [width, height](const ByteText& source) {
        if (source.contains("missing"))
            return QImage();
        QImage picture(width, height, QImage::Format_RGB32);
        picture.fill(Qt::gray);
        return picture;
    };
}

} // namespace htmlview::test
