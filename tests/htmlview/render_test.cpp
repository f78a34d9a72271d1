// Painting on a QImage through the platform's fonts, with the issue index
// pages made from the templates of the data folder, and the cost of a
// paint-only scroll step.
#include "htmlview/document.h"
#include "htmlview/qt_surface.h"
#include "htmlview/recording_surface.h"
#include "htmlview/render.h"
#include "htmlview/tag_codes.h"
#include "tests/support/temp_program_folder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace htmlview {
namespace {

QString dataDir() {
    return QStringLiteral(NORVEL_SOURCE_DIR "/data");
}

// An issue index as the index builder makes it from a template: heading,
// page list and footer link in place of the markers.
ByteText issueIndexFrom(const ByteText& templateText, int pages) {
    ByteText page = templateText;
    page.replace("NumberDate", W("<div class=\"date\">12 января 2005 (23456)</div>"));
    ByteText list;
    for (int n = 1; n <= pages; ++n) {
        list += "<li><a href=\"page" + ByteText::number(n) + ".html\" class=\"b\">" +
                W("Заголовок статьи номер ") + ByteText::number(n) + "</a>\n";
    }
    const qsizetype marker = page.indexOf("<!!!CodeNorvel2!!!>");
    if (marker >= 0)
        page = page.left(marker) + list + page.mid(marker + 20);
    page.replace("></b></div></td></table>",
                 W(">Этот номер газеты загружен и обработан программой <a "
                   "href=\"http://norvel.example/\" class=\"b\"><font "
                   "color=\"#0000CC\">Норвел</font></a></b></div></td></table>"));
    // The archive browser's preview lets fixed-width tables fill the control.
    page.replace("table width=\"600\"", "table width=\"100%\"");
    return page;
}

// The issue's own pictures come from the data folder.
ImageLoader dataPictures() {
    return [](const ByteText& source) {
        const QString name = QFileInfo(cp1251::toUnicode(source)).fileName();
        return QImage(dataDir() + QLatin1Char('/') + name);
    };
}

int inkPixels(const QImage& image, QRgb background) {
    int ink = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            ink += (line[x] & 0xFFFFFF) != (background & 0xFFFFFF);
    }
    return ink;
}

class IndexPagePainting : public ::testing::TestWithParam<const char*> {};

TEST_P(IndexPagePainting, PaintsTextLinksAndPictures) {
    const ByteText templateText = ReadFileBytes(dataDir() + QLatin1Char('/') + GetParam());
    ASSERT_FALSE(templateText.isEmpty()) << GetParam();
    HtmlDocument doc;
    doc.EnableAnchors = true;
    doc.EnableScroll = true;
    doc.SetDocument(issueIndexFrom(templateText, 12));
    EXPECT_NE(doc.DocumentTitle(), "Unknown");
    HtmlRenderer renderer(doc);
    int picturesAsked = 0;
    renderer.setImageLoader([&](const ByteText& source) {
        ++picturesAsked;
        return dataPictures()(source);
    });
    QImage image(560, 420, QImage::Format_RGB32);
    {
        QtImageSurface surface(image);
        renderer.Render(surface, true);
    }
    EXPECT_GT(picturesAsked, 0);
    const int ink = inkPixels(image, ToQColor(doc.BackColor).rgb());
    EXPECT_GT(ink, 2000) << "the page painted almost nothing";
    // Every page link has a box inside the surface width.
    int links = 0;
    for (int index : doc.Anchors) {
        const HtmlElement& a = doc.Elements[index];
        if (!a.Href.startsWith("page"))
            continue;
        ++links;
        EXPECT_GT(a.Right, a.Left) << a.Href.constData();
        EXPECT_GT(a.Bottom, a.Top) << a.Href.constData();
        EXPECT_LE(a.Right, image.width());
    }
    EXPECT_EQ(links, 12);
    if (qEnvironmentVariableIsSet("NORVEL_SAVE_PICTURES"))
        image.save(QDir::temp().filePath(QStringLiteral("%1.png").arg(GetParam())));

    // A scroll step paints other rows of the same layout.
    QImage scrolled(image.size(), QImage::Format_RGB32);
    {
        QtImageSurface surface(scrolled);
        renderer.Render(surface, false, 5);
    }
    EXPECT_NE(scrolled, image);
    EXPECT_GT(inkPixels(scrolled, ToQColor(doc.BackColor).rgb()), 0);
}

INSTANTIATE_TEST_SUITE_P(DataTemplates, IndexPagePainting,
                         ::testing::Values("index.dat", "indexct.dat"));

TEST(Painting, BackgroundColourAndTiles) {
    HtmlDocument doc;
    doc.SetDocument("<html><body bgcolor=#00ff00 background=tile.gif>x");
    HtmlRenderer renderer(doc);
    renderer.setImageLoader([](const ByteText& source) {
        if (source != "tile.gif")
            return QImage();
        QImage tile(16, 16, QImage::Format_RGB32);
        tile.fill(Qt::red);
        return tile;
    });
    RecordingSurface surface(100, 50);
    renderer.Render(surface, true);
    EXPECT_EQ(surface.log.front(), QStringLiteral("clear 00ff00"));
    // Tiles: columns 0..NearestEven(100 / 16) and rows 0..NearestEven(50 / 16 + 1).
    EXPECT_EQ(surface.log.filter(QStringLiteral("picture")).size(), 7 * 5);
    // Scrolled by 3 steps the tiles move up by 30 mod 16 = 14 pixels.
    RecordingSurface scrolled(100, 50);
    doc.EnableScroll = true;
    renderer.Render(scrolled, false, 3);
    EXPECT_TRUE(scrolled.log.contains(QStringLiteral("picture 0 -14 16 16 from 16x16")));
}

ByteText longArticle(int paragraphs) {
    ByteText html = "<html><body>";
    for (int p = 0; p < paragraphs; ++p) {
        html += "<p>";
        for (int w = 0; w < 60; ++w)
            html += "word" + ByteText::number(w) + " ";
        html += "</p>";
    }
    return html + "</body></html>";
}

int drawCallsOfScrollStep(int paragraphs) {
    HtmlDocument doc;
    doc.EnableScroll = true;
    doc.SetDocument(longArticle(paragraphs));
    HtmlRenderer renderer(doc);
    RecordingSurface layout(400, 300);
    renderer.Render(layout, true);
    RecordingSurface step(400, 300);
    renderer.Render(step, false, 200); // 2000 pixels down
    return step.drawCalls;
}

TEST(Painting, ScrollStepCostsWhatIsVisible) {
    const int small = drawCallsOfScrollStep(30);
    const int large = drawCallsOfScrollStep(600);
    EXPECT_GT(small, 20);
    EXPECT_EQ(small, large); // the same window of the same kind of text
}

TEST(Painting, PaintOnlyMatchesTheLayoutPassAtTheTop) {
    HtmlDocument doc;
    doc.EnableScroll = true;
    doc.SetDocument("<html><body><table border=1><tr><td>a</td><td>b</td></tr></table>"
                    "<ul><li>x<li>y</ul>");
    HtmlRenderer renderer(doc);
    RecordingSurface first(300, 200);
    renderer.Render(first, true);
    RecordingSurface again(300, 200);
    renderer.Render(again, false, 0);
    EXPECT_EQ(first.log, again.log);
}

TEST(Painting, WindowStartingInsideATableKeepsItsFrames) {
    ByteText html = "<html><body><table border=1><tr><td>";
    for (int i = 0; i < 100; ++i)
        html += "row " + ByteText::number(i) + "<br>";
    html += "</td></tr></table></body></html>";
    HtmlDocument doc;
    doc.EnableScroll = true;
    doc.SetDocument(html);
    HtmlRenderer renderer(doc);
    RecordingSurface layout(300, 200);
    renderer.Render(layout, true);
    RecordingSurface step(300, 200);
    renderer.Render(step, false, 100); // 1000 pixels into the table
    // The text of that window, at its stored places, and the vertical edges
    // of the cell and the table running through it.
    EXPECT_TRUE(step.log.filter(QStringLiteral("\"row\"")).size() >= 9);
    int verticalEdges = 0;
    for (const QString& line : step.log.filter(QStringLiteral("line "))) {
        const QStringList parts = line.split(QLatin1Char(' '));
        verticalEdges += parts[1] == parts[3] && parts[2].toInt() < 0 && parts[4].toInt() > 200;
    }
    EXPECT_EQ(verticalEdges, 4);
}

} // namespace
} // namespace htmlview
