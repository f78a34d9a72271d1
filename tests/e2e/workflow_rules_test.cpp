// The workflow's own text rules on hand-made pages: the newest issue among
// the heading links, the links between neighbouring pages, the magazine's
// article scan, and the atomic issue file write.
#include "app/workflow.h"
#include "tests/support/temp_program_folder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

LinkScan Headings(const QList<ByteText>& numbers) {
    LinkScan scan;
    for (const ByteText& n : numbers)
        scan.LinkList.append("/daily/" + n + "/" + ByteText::number(scan.LinkList.size()) + "/");
    scan.LinkCount = int16_t(scan.LinkList.size());
    return scan;
}

TEST(NewestIssue, FirstGroupOfThreeEqualNumbersWins) {
    EXPECT_EQ(NewestIssueOfHeadings(
                  Headings({"23613", "23613", "23612", "23612", "23612", "23612", "23611"})),
              ByteText("23612"));
    EXPECT_EQ(NewestIssueOfHeadings(Headings({"5", "5", "5", "5", "5", "5"})), ByteText("5"));
}

TEST(NewestIssue, GroupEndingOnTheLastLinkIsNeverExamined) {
    EXPECT_TRUE(NewestIssueOfHeadings(Headings({"1", "2", "3", "7", "7", "7"})).isEmpty());
    EXPECT_TRUE(NewestIssueOfHeadings(Headings({"7", "7", "7"})).isEmpty());
    LinkScan empty = Headings({"", "", "", ""});
    empty.LinkList = {"/x/", "/x/", "/x/", "/x/"};
    EXPECT_TRUE(NewestIssueOfHeadings(empty).isEmpty()) << "links without a number";
}

TEST(Neighbours, FirstMiddleAndLastPage) {
    const ByteText page = "<tr>%prevpage%</td><td>text</td>%nextpage%</tr>";
    ByteText first = page;
    LinkNeighbours(first, 1, 3);
    EXPECT_EQ(first, "<tr></td><td>text</td><td class=\"text\"><div align=\"right\"><a "
                     "href=\"page2.html\">" +
                         W(":: следующая&gt;&gt;") + "</a></div></tr>");
    ByteText middle = page;
    LinkNeighbours(middle, 2, 3);
    EXPECT_TRUE(middle.contains("<a href=\"page1.html\">" + W("&lt;&lt;предыдущая ::")));
    EXPECT_TRUE(middle.contains("<a href=\"page3.html\">"));
    ByteText last = page;
    LinkNeighbours(last, 3, 3);
    EXPECT_TRUE(last.contains("page2.html"));
    EXPECT_FALSE(last.contains("page4.html") || last.contains("%next"));
    ByteText only = page;
    LinkNeighbours(only, 1, 1);
    EXPECT_EQ(only, "<tr></td><td>text</td></tr>");
}

TEST(Neighbours, OnlyTheFirstPlaceholderAndPagesWithoutThem) {
    ByteText twice = "%prevpage% %prevpage% %nextpage% %nextpage%";
    LinkNeighbours(twice, 2, 3);
    EXPECT_EQ(twice.count("%prevpage%"), 1);
    EXPECT_EQ(twice.count("%nextpage%"), 1);
    ByteText plain = "<p>no navigation</p>";
    LinkNeighbours(plain, 2, 3);
    EXPECT_EQ(plain, "<p>no navigation</p>");
}

TEST(MagazineArticles, LinksAfterTheThemeWithTitlesAndAnnotations) {
    const ByteText contents =
        "<a href=\"/2006/650/old/1/\">Before</a> skipped<br>" + W("Тема номера") +
        "<p><a href=\"/2006/650/soft/11/\"><h3>First &quot;one&quot;</h3></a> About it<br>"
        "<a href=\"/2006/650/hard/12/\">Second</a>\r\nMore<br>"
        "<a href=\"/2006/650/soft/11/\">First again</a>x<br>";
    const qsizetype theme = contents.indexOf(W("Тема номера"));
    MagazineArticles a = ScanMagazineArticles(contents, theme, "/2006/650/", 200);
    ASSERT_EQ(a.paths.size(), 3);
    EXPECT_EQ(a.paths, QList<ByteText>({"soft/11/", "hard/12/", "soft/11/"}));
    EXPECT_EQ(a.titles.at(0), ByteText("First \"one\""));
    EXPECT_EQ(a.annotations.at(0), ByteText("About it"));
    EXPECT_EQ(a.annotations.at(1), ByteText("More"));
    EXPECT_EQ(ScanMagazineArticles(contents, theme, "/2006/650/", 2).paths.size(), 2);
}

TEST(MagazineArticles, UnterminatedLinkEndsAtTheTextEnd) {
    const ByteText contents = W("Тема номера") + "<a href=\"/2006/650/soft/1";
    MagazineArticles a = ScanMagazineArticles(contents, 0, "/2006/650/", 200);
    ASSERT_EQ(a.paths.size(), 1);
    EXPECT_EQ(a.paths.first(), ByteText("soft/1"));
    EXPECT_TRUE(ScanMagazineArticles(contents, 0, "", 200).paths.isEmpty());
}

TEST(Delivered, OnlyA2xxAnswerBringsTheResource) {
    EXPECT_TRUE(Delivered("HTTP/1.0 200 OK\r\n\r\nbody"));
    EXPECT_TRUE(Delivered("HTTP/1.1 203 Non-Authoritative\r\n\r\n"));
    EXPECT_FALSE(Delivered("HTTP/1.1 302 Found\r\nLocation: /\r\n\r\n<html>moved</html>"));
    EXPECT_FALSE(Delivered("HTTP/1.0 500 Internal Server Error\r\n\r\n<html>oops</html>"));
    EXPECT_FALSE(Delivered("<html>200 pictures</html>")) << "no status line";
    EXPECT_FALSE(Delivered("HTTP/1.0\r\n200 OK\r\n\r\n"));
    EXPECT_FALSE(Delivered("HTTP/1.0 2"));
    for (const char* result : {"error", "stop", ""})
        EXPECT_FALSE(Delivered(result));
}

TEST(IssueFiles, ReplacedWholeAndNoPartLeftBehind) {
    TempProgramFolder home(false);
    const QString path = home.file("page1.html");
    ASSERT_TRUE(WriteIssueFile(path, "first"));
    ASSERT_TRUE(WriteIssueFile(path, ByteText("\x00\xff second", 9)));
    EXPECT_EQ(home.read("page1.html"), ByteText("\x00\xff second", 9));
    EXPECT_EQ(QDir(home.path()).entryList(QDir::Files), QStringList({"page1.html"}));
    EXPECT_FALSE(WriteIssueFile(home.file("missing/page1.html"), "x"));
}

} // namespace
