// The issue index: exact bytes for complete and incomplete issues of both
// sources from small templates, the companion files and the cover, and the
// shipped templates' markers.
#include "processing/issue_index.h"
#include "processing/main_index.h"
#include "processing/picture_type.h"
#include "settings/whole_file.h"
#include "tests/support/small_file_system.h"
#include "tests/support/temp_program_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <gtest/gtest.h>

namespace {

const QDate BuildDay(2026, 12, 7);

Sites testSites() {
    Sites sites;
    sites.Newspaper = "news.test:8080";
    sites.MagazineArchive = "offline.test";
    sites.HomePage = "home.test";
    return sites;
}

const ByteText Template = "<html><!--div>missing</div-->NumberDate<ul>\r\n<!!!CodeNorvel2!!!>\r\n"
                          "</ul><td><b></b></div></td></table>cover.jpg cover.jpg</html>\r\n";

struct Issue {
    TempProgramFolder home;
    IssueIndexInput input;

    explicit Issue(int16_t source) {
        home.write("data/index.dat", Template);
        home.write("data/indexct.dat", Template);
        input.CurrentSource = source;
        input.IssueDate = W("12 января 2005");
        input.IssueNumber = source == 2 ? "575" : "23456";
        input.PageCount = 3;
        input.IssueFolder = home.file("Download/issue");
        QDir().mkpath(input.IssueFolder);
        input.PagePaths = {"/p/1/", "/p/2/", "/p/3/"};
        input.PageTitles = {"T1", "T2", "T3"};
        input.MagazineTitles = {"M1", "M2", "M3"};
        input.TempFolder = home.file("temp");
        input.CoverFiles = {"575.jpg"};
        input.SelectedIssue = 1;
    }
    void savePages(std::initializer_list<int> pages) const {
        for (int n : pages)
            home.write("Download/issue/page" + QString::number(n) + ".html", "page");
    }
    IssueIndexResult build(bool complete) const {
        return BuildIssueIndex(complete, input, home.path(), testSites(), StockCoverBitmap(),
                               BuildDay);
    }
    ByteText index() const { return home.read("Download/issue/index.htm"); }
};

ByteText footer(const char* kind) {
    return ">" + W("Этот номер ") + W(kind) + W(" загружен и обработан программой ") +
           "<a href=\"http://home.test/\" class=\"b\"><font color=\"#0000CC\">" + W("Норвел") +
           "</font></a></b></div></td></table>";
}

const ByteText Heading = "<div class=\"date\">" + W("12 января 2005") + " (23456)</div>";

} // namespace

TEST(IssueIndex, CompleteNewspaperIssueBytes) {
    Issue issue(1);
    issue.savePages({1, 2, 3});
    IssueIndexResult result = issue.build(true);
    ASSERT_TRUE(result.written);
    const ByteText expected = "<html><!--div>missing</div-->" + Heading + "<ul>\r\n" +
                              "<li><a href=\"page1.html\" class=\"b\">T1</a>\n"
                              "<li><a href=\"page2.html\" class=\"b\">T2</a>\n"
                              "<li><a href=\"page3.html\" class=\"b\">T3</a>\n"
                              "\n</ul><td><b" +
                              footer("газеты") + "cover.jpg cover.jpg</html>\r\n" +
                              "<!!!-!!!07.12.2026>";
    EXPECT_EQ(result.page, expected);
    EXPECT_EQ(issue.index(), expected + "\r\n");
    EXPECT_TRUE(IssueIndexComplete(result.page));
    EXPECT_TRUE(QFileInfo(issue.home.file("Download/issue/img/t-01.gif")).isFile());
    EXPECT_TRUE(QFileInfo(issue.home.file("Download/issue/img/t-02.gif")).isFile());
    EXPECT_EQ(issue.home.read("Download/issue/kp.css"), issue.home.read("data/kp.css"));
    EXPECT_FALSE(QFileInfo(issue.home.file("Download/issue/img/ktlogo.gif")).exists());
}

TEST(IssueIndex, IncompleteNewspaperIssueLinksTheSiteAndShowsTheBlock) {
    Issue issue(1);
    issue.savePages({1, 3});
    const ByteText page = issue.build(false).page;
    const ByteText expected = "<html><div>missing</div>" + Heading + "<ul>\r\n" +
                              "<li><a href=\"page1.html\" class=\"b\">T1</a>\n"
                              "<li><a href=\"http://news.test:8080/p/2/\" class=\"error\">T2</a>\n"
                              "<li><a href=\"page3.html\" class=\"b\">T3</a>\n"
                              "\n</ul><td><b" +
                              footer("газеты") + "cover.jpg cover.jpg</html>\r\n" +
                              "<!!!-incomplete-!!!><!!!-!!!07.12.2026>";
    EXPECT_EQ(page, expected);
    EXPECT_FALSE(IssueIndexComplete(page));
    // As an earlier version wrote it, the mark after the date.
    EXPECT_FALSE(IssueIndexComplete("<html></html>\r\n<!!!-!!!07.12.2026><!!!-incomplete-!!!>"));
}

TEST(IssueIndex, CompleteMagazineIssueWithItsCover) {
    Issue issue(2);
    issue.savePages({1, 2, 3});
    issue.home.write("temp/575.jpg", "JPEGBYTES");
    const ByteText page = issue.build(true).page;
    ByteText list;
    for (const char* n : {"1", "2", "3"}) {
        list += ByteText("<li><a href=\"page") + n + ".html\" class=\"online-news-date\">M" + n +
                "</a><br>\n<div align=\"justify\">&nbsp;<span class=\"bottom\">T" + n +
                "</span></div><br>\n";
    }
    const ByteText expected = "<html><!--div>missing</div--><div class=\"date\">" +
                              W("12 января 2005") + " (575)</div><ul>\r\n" + list +
                              "\n</ul><td><b" + footer("журнала") +
                              "cover.jpg cover.jpg</html>\r\n<!!!-!!!07.12.2026>";
    EXPECT_EQ(page, expected);
    EXPECT_EQ(issue.home.read("Download/issue/img/cover.jpg"), "JPEGBYTES");
    EXPECT_FALSE(QFileInfo(issue.home.file("Download/issue/img/cover.bmp")).exists());
    EXPECT_TRUE(QFileInfo(issue.home.file("Download/issue/img/ktlogo.gif")).isFile());
    EXPECT_FALSE(QFileInfo(issue.home.file("Download/issue/img/t-01.gif")).exists());
}

TEST(IssueIndex, IncompleteMagazineIssueWithoutCoverGetsTheStockBitmap) {
    Issue issue(2);
    issue.savePages({2});
    const ByteText page = issue.build(false).page;
    EXPECT_TRUE(page.startsWith("<html><div>missing</div>"));
    EXPECT_TRUE(
        page.contains("<li><a href=\"http://offline.test/p/1/\" class=\"error\">M1</a><br>\n"
                      "<div align=\"justify\">&nbsp;<span class=\"bottom\">T1</span>"));
    EXPECT_TRUE(page.contains("<li><a href=\"page2.html\" class=\"online-news-date\">M2</a>"));
    EXPECT_TRUE(page.contains("cover.bmp cover.jpg")) << "only the first name changes";
    const QImage saved(issue.home.file("Download/issue/img/cover.bmp"), "BMP");
    ASSERT_EQ(saved.size(), QSize(96, 128));
    const QRgb dark = qRgb(0x40, 0x40, 0x60), light = qRgb(0xE0, 0xE0, 0xE0);
    EXPECT_EQ(saved.pixel(1, 1), dark) << "the frame";
    EXPECT_EQ(saved.pixel(48, 20), dark) << "the title's bar, near the top";
    EXPECT_EQ(saved.pixel(48, 34), light);
    EXPECT_EQ(saved.pixel(48, 120), light);
}

TEST(IssueIndex, CoverNamesFromPageTextStayInTheTempFolder) {
    Issue issue(2);
    issue.home.write("secret.jpg", "NOT A COVER");
    issue.input.CoverFiles = {"../secret.jpg"};
    issue.build(true);
    EXPECT_FALSE(QFileInfo(issue.home.file("Download/issue/img/cover.jpg")).exists());
    EXPECT_TRUE(QFileInfo(issue.home.file("Download/issue/img/cover.bmp")).exists());
}

TEST(IssueIndex, TheSecondBuildReplacesTheFirstAndOnlyTheFirstHeadingIsFilled) {
    Issue issue(1);
    issue.home.write("data/index.dat", "NumberDate NumberDate <!!!CodeNorvel2!!!>|end");
    issue.savePages({1});
    issue.build(false);
    issue.input.PageCount = 1;
    const ByteText page = issue.build(true).page;
    EXPECT_EQ(page, Heading + " NumberDate <li><a href=\"page1.html\" class=\"b\">T1</a>\nend" +
                        "<!!!-!!!07.12.2026>");
    EXPECT_EQ(issue.index(), page + "\r\n");
}

TEST(IssueIndex, ATemplateWithoutTheListMarkerStillListsThePages) {
    Issue issue(1);
    issue.home.write("data/index.dat", "<p>NumberDate</p>");
    issue.input.PageCount = 1;
    const ByteText page = issue.build(true).page;
    EXPECT_TRUE(page.contains("<li><a href=\"http://news.test:8080/p/1/\" class=\"error\">T1</a>"));
}

TEST(IssueIndex, AMissingTemplateWritesNothing) {
    Issue issue(1);
    QFile::remove(issue.home.file("data/index.dat"));
    EXPECT_FALSE(issue.build(true).written);
    EXPECT_FALSE(QFileInfo(issue.home.file("Download/issue/index.htm")).exists());
}

TEST(IssueIndex, AFullDiskIsReportedByTheResultAndTheOldIndexStays) {
    SmallFileSystem disk;
    if (!disk.mounted())
        GTEST_SKIP() << "no small file system: " << disk.why().toStdString();
    for (int16_t source : {1, 2}) {
        Issue issue(source);
        issue.input.IssueFolder = disk.path() + "/issue" + QString::number(source);
        QDir().mkpath(issue.input.IssueFolder);
        ASSERT_TRUE(issue.build(true).written);
        const QString index = issue.input.IssueFolder + "/index.htm";
        const ByteText before = ReadWholeFile(index).value_or("");
        disk.fill();
        issue.input.IssueNumber = "99999";
        const IssueIndexResult result = issue.build(true);
        EXPECT_FALSE(result.written);
        EXPECT_EQ(result.failedPath, index);
        EXPECT_EQ(ReadWholeFile(index).value_or(""), before);
        // Room for the index alone: the first picture after it that must
        // be written is named (a copy the issue already holds is not).
        QFile::remove(index);
        issue.home.write("data/t-01.gif", "GIF89a another picture");
        EXPECT_EQ(issue.build(true).failedPath,
                  issue.input.IssueFolder + (source == 1 ? "/img/t-01.gif" : "/img/cover.bmp"));
        EXPECT_TRUE(QFileInfo(index).isFile());
        disk.free();
    }
}

TEST(ShippedTemplates, HoldEveryMarkerOnceAndReadBackTheirHeading) {
    TempProgramFolder home;
    for (const char* name : {"index.dat", "indexct.dat"}) {
        const ByteText t = home.read(QString("data/") + name);
        ASSERT_FALSE(t.isEmpty()) << name;
        for (const char* marker : {IndexHeadingMarker, IndexListMarker, IndexFooterEnd, "<!--div",
                                   "</div-->", "kp.css", "charset=windows-1251"})
            EXPECT_EQ(t.count(marker), 1) << name << " " << marker;
        EXPECT_FALSE(t.contains(")</div>")) << "the heading must hold the first \")</div>\"";
    }
    EXPECT_TRUE(home.read("data/index.dat").contains("img/t-01.gif"));
    EXPECT_TRUE(home.read("data/index.dat").contains("img/t-02.gif"));
    EXPECT_TRUE(home.read("data/indexct.dat").contains("img/ktlogo.gif"));
    EXPECT_EQ(home.read("data/indexct.dat").count("cover.jpg"), 1);
    const ByteText main = home.read("data/mainindex.dat");
    EXPECT_EQ(main.count(MainIndexNewspaperMarker), 1);
    EXPECT_EQ(main.count(MainIndexMagazineMarker), 1);

    // A built index reads back through the main index's heading reader.
    IssueIndexInput input;
    input.IssueDate = W("12 января 2005");
    input.IssueNumber = "23456";
    input.IssueFolder = home.file("Download/x");
    QDir().mkpath(input.IssueFolder);
    const ByteText page = BuildIssueIndex(true, input, home.path(), Sites()).page;
    const IssueHeading heading = ReadIssueHeading(page);
    EXPECT_EQ(heading.date, W("12 января 2005"));
    EXPECT_EQ(heading.number, "23456");
    EXPECT_TRUE(page.contains("<!--div")) << "complete: the warning stays hidden";
}

// Covers are checked by their first bytes, without a picture library: what
// the picture library writes is known as a picture, other files are not.
TEST(PictureType, PicturesAreToldFromOtherFilesByTheirFirstBytes) {
    TempProgramFolder home;
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    for (const char* format : {"PNG", "JPEG", "BMP"}) {
        const QString path = home.file(QStringLiteral("cover.") + format);
        ASSERT_TRUE(picture.save(path, format));
        EXPECT_TRUE(IsPictureFile(path)) << format;
    }
    home.write("gif.dat", "GIF89a");
    EXPECT_TRUE(IsPictureFile(home.file("gif.dat")));
    EXPECT_EQ(PictureMediaType("GIF89a"), "image/gif");
    home.write("page.jpg", "<html>Not Found</html>");
    EXPECT_FALSE(IsPictureFile(home.file("page.jpg")));
    EXPECT_FALSE(IsPictureFile(home.file("missing.jpg")));
}
