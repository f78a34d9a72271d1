// The book of an issue made from a folder laid out by hand: the reading order
// is the index's, every picture a page shows is inside, every link between
// pages lands on a page (and an id) of the book, and nothing outside the
// issue folder gets in.
#include "ebook/book_links.h"
#include "ebook/epub_book.h"
#include "tests/support/epub_reader.h"
#include "tests/support/issue_folders.h"
#include "tests/support/xhtml_check.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct MagazineIssue {
    QTemporaryDir root;
    QString download = root.path() + "/Download";
    QString folder = download + "/2026.01.05.KT";
    Sites sites;

    MagazineIssue() {
        sites.MagazineArchive = "offline.example:8080";
        // The index lists page 3 first; page 2, second in the list, was not
        // saved; page 5 lies in the folder from an earlier download but the
        // index does not list it.
        const QList<PageEntry> entries = {
            {3, "Третья", {}},
            {2, "Вторая", "http://offline.example:8080/print/offline/2026/1/2.htm"},
            {1, "Первая", {}}};
        WriteFile(folder, "index.htm",
                  IssueIndexPage(QDate(2026, 1, 5), "700", entries, QDate(2026, 1, 6)));
        WriteFile(folder, "page3.html",
                  IssuePage("Зенитра: третья",
                            "<p>Читайте <a href=\"page1.html#part\">первую</a>, "
                            "<a href=\"page2.html\">вторую</a>, <a href=\"page5.html\">пятую</a>"
                            " и <a href=\"/archive/\">архив</a>.</p>"
                            "<img src=\"img/photo.png\"><img src=\"img/scan.bmp\">"
                            "<img src=\"../secret.gif\"><img src=\"img/outside.gif\">"
                            "<img src=\"http://offline.example/remote.gif\">"
                            "<a href=\"index.htm\">к оглавлению</a>"));
        WriteFile(folder, "page1.html",
                  IssuePage("Зенитра: первая", "<p>Вступление</p><h2 id=\"part\">Часть</h2>"
                                               "<img src=\"img/photo.png\"> <a href=\"#part\">"
                                               "сюда</a> <a href=\"#none\">никуда</a>"));
        WriteFile(folder, "page5.html", IssuePage("старая", "<p>старая страница</p>"));
        WriteFile(folder, "img/photo.png", PngPicture());
        WriteFile(folder, "img/scan.bmp", BmpPicture());
        // The cover is saved as cover.jpg whatever it holds.
        WriteFile(folder, "img/cover.jpg", GifPicture());
        WriteFile(root.path(), "secret.gif", GifPicture());
        WriteFile(root.path(), "elsewhere/outside.gif", GifPicture());
        QFile::link(root.path() + "/elsewhere/outside.gif", folder + "/img/outside.gif");
    }
};

} // namespace

TEST(EpubBook, FollowsTheIndexAndHoldsEveryPictureAndLinkTarget) {
    MagazineIssue issue;
    const EpubResult result = MakeEpub(issue.folder, issue.sites);
    ASSERT_TRUE(result.written) << result.error.toStdString();
    EXPECT_EQ(result.path, issue.download + "/2026.01.05.KT.epub");
    EXPECT_EQ(result.pages, 2);
    const EpubContents book = ReadEpub(result.path);
    ASSERT_TRUE(book.readable);

    ASSERT_FALSE(book.entries.isEmpty());
    EXPECT_EQ(book.entries.first().name, "mimetype");
    EXPECT_TRUE(book.entries.first().stored);
    EXPECT_EQ(book.entries.first().bytes, "application/epub+zip");

    EXPECT_EQ(book.spine(), (QList<QByteArray>{"index.xhtml", "page3.xhtml", "page1.xhtml"}));
    const QMap<QByteArray, QByteArray> manifest = book.manifest();
    EXPECT_FALSE(manifest.contains("page5.xhtml")) << "a page the index does not list stays out";
    EXPECT_EQ(manifest.value("img/cover.gif"), "image/gif") << "named by what it holds";
    EXPECT_EQ(book.manifest("properties").value("img/cover.gif"), "cover-image");
    EXPECT_EQ(manifest.value("img/scan.png"), "image/png") << "a bitmap is converted";
    EXPECT_EQ(manifest.value("img/photo.png"), "image/png");
    EXPECT_EQ(manifest.size(), 2 + 3 + 3) << "nav, css, three pages, three pictures";

    for (const QByteArray& document : book.spine()) {
        const QByteArray xhtml = book.bytes("OEBPS/" + document);
        EXPECT_EQ(XhtmlFaults(xhtml).join("\n").toStdString(), "") << document.toStdString();
        for (const QByteArray& src : AttributeValues(xhtml, "img", "src")) {
            EXPECT_TRUE(manifest.contains(src)) << src.toStdString();
            EXPECT_TRUE(book.has("OEBPS/" + src)) << src.toStdString();
        }
        for (const QByteArray& href : AttributeValues(xhtml, "a", "href")) {
            if (href.startsWith("http://"))
                continue;
            const QList<QByteArray> parts = href.split('#');
            const QByteArray target = parts[0].isEmpty() ? document : parts[0];
            EXPECT_TRUE(book.spine().contains(target)) << href.toStdString();
            if (parts.size() > 1) {
                EXPECT_TRUE(
                    AttributeValues(book.bytes("OEBPS/" + target), "h2", "id").contains(parts[1]))
                    << href.toStdString();
            }
        }
    }
    const QByteArray page3 = book.bytes("OEBPS/page3.xhtml");
    EXPECT_EQ(AttributeValues(page3, "a", "href"),
              (QList<QByteArray>{"page1.xhtml#part",
                                 "http://offline.example:8080/print/offline/2026/1/2.htm",
                                 "http://offline.example:8080/archive/", "index.xhtml"}));
    EXPECT_TRUE(page3.contains("пятую")) << "the link goes, its text stays";
    EXPECT_EQ(AttributeValues(book.bytes("OEBPS/page1.xhtml"), "a", "href"),
              (QList<QByteArray>{"#part"}));

    const QByteArray opf = book.bytes("OEBPS/content.opf");
    EXPECT_TRUE(opf.contains("<dc:identifier id=\"issue-id\">urn:norvel:kt:700</dc:identifier>"));
    EXPECT_TRUE(opf.contains("<dc:title>Зенитра № 700 от 5 января 2026</dc:title>"));
    EXPECT_TRUE(opf.contains("<dc:date>2026-01-05</dc:date>"));
    EXPECT_TRUE(opf.contains("<dc:language>ru</dc:language>"));
    const QByteArray nav = book.bytes("OEBPS/nav.xhtml");
    EXPECT_EQ(AttributeValues(nav, "a", "href"),
              (QList<QByteArray>{"index.xhtml", "page3.xhtml", "page1.xhtml"}));
    EXPECT_TRUE(nav.contains("<h1>Зенитра № 700 от 5 января 2026</h1>"));
    EXPECT_TRUE(nav.contains(">Третья</a>"));
}

TEST(EpubBook, ASecondBookReplacesTheFirstAndLeavesNothingElseBehind) {
    MagazineIssue issue;
    ASSERT_TRUE(MakeEpub(issue.folder, issue.sites).written);
    WriteFile(issue.folder, "page1.html", IssuePage("новая", "<p>Новый текст</p>"));
    ASSERT_TRUE(MakeEpub(issue.folder, issue.sites).written);
    EXPECT_EQ(QDir(issue.download).entryList(QDir::Files), QStringList{"2026.01.05.KT.epub"});
    EXPECT_TRUE(ReadEpub(issue.download + "/2026.01.05.KT.epub")
                    .bytes("OEBPS/page1.xhtml")
                    .contains("Новый текст"));
}

TEST(EpubBook, AFolderWithoutTheProgramsIndexGetsNoBook) {
    QTemporaryDir root;
    WriteFile(root.path(), "notes/index.htm", "<html><body>my notes</body></html>");
    const EpubResult result = MakeEpub(root.path() + "/notes", Sites{});
    EXPECT_FALSE(result.written);
    EXPECT_TRUE(result.error.contains("index.htm")) << result.error.toStdString();
    EXPECT_FALSE(QFile::exists(root.path() + "/notes.epub"));
}

TEST(EpubBook, ABookThatCannotBeWrittenSaysWhy) {
    MagazineIssue issue;
    // A folder where the book should go: the archive cannot take its place.
    QDir().mkpath(issue.download + "/2026.01.05.KT.epub/x");
    const EpubResult result = MakeEpub(issue.folder, issue.sites);
    EXPECT_FALSE(result.written);
    EXPECT_TRUE(result.error.startsWith("Не удалось записать книгу")) << result.error.toStdString();
    EXPECT_TRUE(QFileInfo(issue.download + "/2026.01.05.KT.epub/x").isDir());
}
