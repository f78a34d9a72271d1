// Hostile and oversized input: every case ends quickly, without a crash,
// through the whole path from text to a painted QImage.
#include "htmlview/document.h"
#include "htmlview/qt_surface.h"
#include "htmlview/render.h"
#include "laid_out_document.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace htmlview {
namespace {

struct Outcome {
    qint64 milliseconds;
    qsizetype elements;
};

Outcome showAndScroll(const ByteText& html) {
    QElapsedTimer timer;
    timer.start();
    HtmlDocument doc;
    doc.EnableAnchors = true;
    doc.EnableScroll = true;
    doc.SetDocument(html);
    HtmlRenderer renderer(doc);
    renderer.setImageLoader([](const ByteText&) {
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        return picture;
    });
    QImage image(400, 300, QImage::Format_RGB32);
    {
        QtImageSurface surface(image);
        renderer.Render(surface, true);
        renderer.Render(surface, false, 40);
        renderer.Render(surface, false, 1 << 28);
    }
    return {timer.elapsed(), doc.Elements.size()};
}

constexpr qint64 kBound = 20000; // milliseconds, generous for a loaded machine

TEST(Adversarial, BrokenMarkup) {
    const ByteText cases[] = {
        "<html><body>text <b",
        "<html><body>text <!-- never closed <b>bold</b>",
        "<html><body><><>x</><>",
        "<html><body></>x<//>y< >z",
        "<html><body><a href>x</a><img src><img src= width= height=><font size= color=>y",
        "<html><body><td colspan=99999 width=-5%>x<table width=-100 border=-3 cellpadding=-9>",
        "<html><body>&#99999999999999999999999999999;&#-1;&#;&#x41;&#",
        ByteText("<html><body>a\0b<b\0>c\0", 19),
        "<html><body><table><tr><td colspan=30000>x</td><td colspan=30000>y</td></tr></table>",
        "<html><body><ul><li>" + test::Repeated("</ul>", 50) + "<li>x",
        "<html><body>" + test::Repeated("</table></tr></td>", 100) + "x",
        "<html><body><a href=\"VB:" + test::Repeated("(", 1000) + "\">x</a>",
        "<body><<<<<<<>>>>>>>>",
        "<html><body><img src=a width=2000000000 height=-2000000000 hspace=32767>x"
        "<img src=b width=1e30 height=1e300></body>",
        "<html><body><table width=2000000000 border=32767 cellpadding=32767 cellspacing=32767>"
        "<tr><td colspan=32767 width=1e30px>a</td><td width=-1e30px>b</td></tr></table></body>",
        "<",
        "<!--",
        "",
    };
    for (const ByteText& html : cases) {
        SCOPED_TRACE(html.left(60).toStdString());
        EXPECT_LT(showAndScroll(html).milliseconds, kBound);
    }
}

TEST(Adversarial, TwentyThousandNestedTags) {
    const ByteText tags[] = {"<b>",
                             "<table border=1><tr><td>",
                             "<ul><li>",
                             "<blockquote>",
                             "<font size=+1>",
                             "<center>",
                             "<h1>",
                             "<a href=x>"};
    for (const ByteText& open : tags) {
        SCOPED_TRACE(open.toStdString());
        const Outcome o = showAndScroll("<html><body>" + test::Repeated(open + "x", 20000));
        EXPECT_LT(o.milliseconds, kBound);
        EXPECT_GT(o.elements, 20000);
    }
}

TEST(Adversarial, PastTheSixteenBitLimits) {
    // 40,000 elements and far more than 32,767 characters are kept whole.
    const Outcome o = showAndScroll("<html><body>" + test::Repeated("<b>word</b> ", 13400));
    EXPECT_GE(o.elements, 40000);
    EXPECT_LT(o.milliseconds, kBound);
}

TEST(Adversarial, ThreeHundredKilobytePage) {
    ByteText page = "<html><head><title>Big</title></head><body>";
    int row = 0;
    while (page.size() < 300 * 1024) {
        page += "<table width=100% border=1><tr><td width=30%><a href=\"p" + ByteText::number(row) +
                ".html\">link " + ByteText::number(row) + "</a></td><td>" +
                test::Repeated("some words of the article ", 8) + "</td></tr></table><p>" +
                test::Repeated("paragraph text &amp; more ", 10) + "</p>";
        ++row;
    }
    const Outcome o = showAndScroll(page + "</body></html>");
    EXPECT_LT(o.milliseconds, kBound);
}

} // namespace
} // namespace htmlview
