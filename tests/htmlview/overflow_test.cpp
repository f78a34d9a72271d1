// Documents whose sizes add up past what an int holds: positions saturate
// instead of overflowing, so the layout stays ordered top to bottom and the
// control can still scroll and paint. Run under -fsanitize=undefined, these
// report nothing.
#include "htmlview/numeric.h"
#include "htmlview/qt_surface.h"
#include "laid_out_document.h"

#include <gtest/gtest.h>

namespace htmlview::test {
namespace {

// Lays the body out, paints a window at the top, in the middle and past the
// end (on the recording surface and through QPainter), and checks the boxes stay in range and never
// go back up.
void expectSaturatedLayout(const ByteText& body) {
    LaidOutDocument d("<html><body>" + body + "</body></html>", 400, 300, PicturesOf(8, 8));
    int lowestTop = 0;
    for (const HtmlElement& e : d.doc.Elements) {
        for (int position : {e.Top, e.Left, e.Bottom, e.Right}) {
            EXPECT_GE(position, -kMaxPosition);
            EXPECT_LE(position, kMaxPosition + 64);
        }
        if (e.TagType == 0)
            lowestTop = std::max(lowestTop, e.Top);
    }
    EXPECT_GE(d.doc.Elements.back().Bottom, lowestTop) << "the layout wrapped around";
    QImage image(400, 300, QImage::Format_RGB32);
    QtImageSurface painted(image);
    for (int value : {0, 1 << 26, 1 << 30, std::numeric_limits<int>::max()}) {
        d.renderer.Render(d.surface, false, value);
        d.renderer.Render(painted, false, value);
    }
}

TEST(Overflow, WideCellsInOneRowAndInManyRows) {
    expectSaturatedLayout("<table border=1><tr>" + Repeated("<td width=1000000>x</td>", 2200) +
                          "</tr></table>after");
    expectSaturatedLayout("<table width=1000000 cellspacing=32767 border=32767>" +
                          Repeated("<tr><td width=1000000>x</td><td>y</td></tr>", 2200) +
                          "</table>after");
}

TEST(Overflow, NestedPaddingAndSpacing) {
    expectSaturatedLayout(
        Repeated("<table cellpadding=32767 cellspacing=32767 border=32767><tr><td>", 300) + "deep" +
        Repeated("</td></tr></table>", 300) + "after");
}

TEST(Overflow, TallAndWidePictures) {
    expectSaturatedLayout(Repeated("<img src=a height=1000000 vspace=32767 border=32767>", 1900));
    expectSaturatedLayout(Repeated("<img src=a width=1000000 hspace=32767 border=32767>", 1900) +
                          "x");
    expectSaturatedLayout("<table><tr><td>" +
                          Repeated("<img src=a width=1000000 height=1000000>", 1900) +
                          "</td></tr></table>");
}

TEST(Overflow, HugeFontsAndDeepIndents) {
    expectSaturatedLayout("<font size=1e30>" + Repeated("W", 100000) + Repeated("<br>", 5000));
    expectSaturatedLayout("<h1><font size=1e30>" + Repeated("word ", 3000) + "</font></h1>");
    expectSaturatedLayout(Repeated("<blockquote>", 5000) + "x" + Repeated("</blockquote>", 10000) +
                          "y");
    expectSaturatedLayout("<font size=1e30>" + Repeated("<ul><li>x", 3000));
    expectSaturatedLayout("<font size=1e30>" + Repeated("<hr>", 100000));
}

} // namespace
} // namespace htmlview::test
