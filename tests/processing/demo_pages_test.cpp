// The scanners and the shipped script on the demo site's generated pages,
// fetched over loopback sockets: the newest issue from the heading links,
// the archive calendar, the table of contents' date and pages, the print
// pages cleaned by the script, the magazine's issue blocks.
#include "processing/find_links.h"
#include "processing/process_page.h"
#include "processing/safe_file_name.h"
#include "tests/support/demo_site.h"
#include "tests/support/scripted_messenger.h"
#include "tests/support/temp_program_folder.h"

#include <QTcpSocket>
#include <gtest/gtest.h>

namespace {

// The body of a plain HTTP/1.0 GET; empty when the fetch failed.
ByteText fetch(const ByteText& host, const ByteText& path) {
    QTcpSocket socket;
    socket.connectToHost("127.0.0.1", DemoSite::portOf(host));
    if (!socket.waitForConnected(5000))
        return {};
    socket.write("GET " + path + " HTTP/1.0\r\nHost: " + host + "\r\n\r\n");
    ByteText response;
    while (socket.state() == QAbstractSocket::ConnectedState || socket.bytesAvailable()) {
        if (!socket.waitForReadyRead(5000) && socket.state() == QAbstractSocket::ConnectedState)
            return {};
        response += socket.readAll();
    }
    const qsizetype body = response.indexOf("\r\n\r\n");
    const ByteText status = response.left(response.indexOf("\r\n"));
    if (body < 0 || !status.contains(" 200 "))
        return {};
    return response.mid(body + 4);
}

// The newest issue as the download names it: the first group of three
// heading links with one and the same number.
ByteText newestIssue(const LinkScan& scan) {
    for (int start = 0; start + 3 < scan.LinkCount; start += 3) {
        const ByteText number = IssueNumberFromLink(scan.LinkList[start]);
        if (!number.isEmpty() && IssueNumberFromLink(scan.LinkList[start + 1]) == number &&
            IssueNumberFromLink(scan.LinkList[start + 2]) == number)
            return number;
    }
    return {};
}

class DemoPages : public ::testing::Test {
protected:
    static void SetUpTestSuite() { site_ = new DemoSite(); }
    static void TearDownTestSuite() {
        delete site_;
        site_ = nullptr;
    }
    void SetUp() override {
        if (!site_->isRunning())
            GTEST_FAIL() << site_->error().toStdString();
    }
    QString script() const { return home_.file("data/script.txt"); }

    // The table of contents of the newest issue, and its page paths.
    QList<ByteText> newestPages(ByteText* number = nullptr) {
        LinkScan scan;
        FindNewspaperLinks(scan, fetch(site_->newspaper(), "/"), true);
        const ByteText issue = newestIssue(scan);
        if (number)
            *number = issue;
        FindNewspaperLinks(scan, fetch(site_->newspaper(), "/daily/" + issue), true);
        QList<ByteText> pages;
        for (int i = 0; i < scan.LinkCount; ++i)
            if (scan.LinkList[i].startsWith("/daily/" + issue))
                pages.append(scan.LinkList[i] + "/print/");
        return pages;
    }

    static DemoSite* site_;
    TempProgramFolder home_;
};

DemoSite* DemoPages::site_ = nullptr;

void expectClean(const ByteText& page) {
    for (const char* gone : {"<script", "</script>", "<noscript", "<!--adv", "<!--counter",
                             "javascript:", "/_adv/", "/_cnt/", "/_css/"})
        EXPECT_FALSE(page.contains(gone)) << gone;
    EXPECT_FALSE(page.contains(W("Реклама")));
    EXPECT_EQ(page.count("%prevpage%"), 1);
    EXPECT_EQ(page.count("%nextpage%"), 1);
    EXPECT_LT(page.indexOf("%prevpage%"), page.indexOf("%nextpage%"));
    EXPECT_TRUE(page.contains("href=\"kp.css\""));
    EXPECT_TRUE(page.contains("charset=windows-1251"));
    EXPECT_TRUE(page.contains("<h1>"));
    EXPECT_GE(page.count("<p>"), 3) << "the article's text stays";
}

// Every picture of the page points at its file in the issue's img folder,
// where the download saves it under the name after the last "/".
void expectLocalPictures(const ByteText& page, const LinkScan& images) {
    ASSERT_GT(images.LinkCount, 0) << "the demo pages carry pictures";
    for (int i = 0; i < images.LinkCount; ++i)
        EXPECT_TRUE(page.contains("<img src=\"img/" + ImageFileName(images.LinkList[i]) + "\""))
            << images.LinkList[i].constData();
    EXPECT_FALSE(page.contains("%img%"));
}

} // namespace

TEST_F(DemoPages, MainPageNamesTheNewestIssue) {
    LinkScan scan;
    FindNewspaperLinks(scan, fetch(site_->newspaper(), "/"), true);
    ASSERT_GE(scan.LinkCount, 6);
    for (int i = 0; i < scan.LinkCount; ++i)
        EXPECT_FALSE(scan.TitleList[i].isEmpty()) << scan.LinkList[i].constData();
    EXPECT_FALSE(newestIssue(scan).isEmpty());
}

TEST_F(DemoPages, ArchiveCalendarGivesNumbersAndDates) {
    ByteText page = fetch(site_->newspaper(), "/daily/archive/");
    LinkScan scan;
    ParseNewspaperArchive(scan, page);
    ASSERT_GT(scan.ArchiveCount, 1);
    ByteText newest;
    newestPages(&newest);
    EXPECT_TRUE(scan.ArchiveNumbers.contains(newest));
    for (int i = 0; i < scan.ArchiveCount; ++i) {
        const ByteText& date = scan.ArchiveDates[i];
        const QList<ByteText> parts = date.split('.');
        ASSERT_EQ(parts.size(), 3) << date.constData();
        EXPECT_EQ(parts[1].size(), 2) << "month by its code: " << date.constData();
        EXPECT_EQ(parts[2].size(), 4) << date.constData();
        EXPECT_TRUE(parts[2].startsWith("20")) << date.constData();
    }
}

TEST_F(DemoPages, ContentsPageHasTheDateAndMoreThanTwentyPages) {
    ByteText number;
    const QList<ByteText> pages = newestPages(&number);
    EXPECT_GT(pages.size(), 20);
    const ByteText contents = fetch(site_->newspaper(), "/daily/" + number);
    const ByteText date = FindNewspaperDate(contents);
    ASSERT_NE(date, "not found");
    const ByteText numeric = DateToNumeric(date);
    EXPECT_TRUE(numeric.size() == 10 || numeric.size() == 9) << numeric.constData();
    EXPECT_EQ(numeric.count('.'), 2) << numeric.constData();
}

TEST_F(DemoPages, ScriptCleansNewspaperPrintPages) {
    const QList<ByteText> pages = newestPages();
    ASSERT_FALSE(pages.isEmpty());
    ScriptedMessenger messenger;
    PageProcessor processor(messenger);
    LinkScan scan;
    for (int i = 0; i < qMin<qsizetype>(pages.size(), 5); ++i) {
        const ByteText raw = fetch(site_->newspaper(), pages[i]);
        ASSERT_FALSE(raw.isEmpty()) << pages[i].constData();
        FindNewspaperLinks(scan, raw, false);
        const ByteText page = processor.ProcessPage(raw, 1, script());
        expectClean(page);
        expectLocalPictures(page, scan);
        // The logo link stays for the download to put the date in its place.
        EXPECT_TRUE(page.contains("<a href=\"http://" + site_->newspaper() +
                                  "\"><img src=\"/_img/logo.gif\""));
    }
    EXPECT_TRUE(messenger.shown().isEmpty());
    EXPECT_FALSE(processor.ScriptFailed());
}

TEST_F(DemoPages, MagazineMainPageIssueBlocks) {
    const ByteText main = fetch(site_->magazineArchive(), "/");
    const qsizetype heading = main.indexOf(W("<h3>Архив \"Зенитры\"</h3>"));
    ASSERT_GE(heading, 0);
    LinkScan scan;
    FindMagazineLinks(scan, main.mid(heading), true, site_->magazineMain());
    ASSERT_GE(scan.LinkCount, 2);
    for (int i = 0; i < scan.LinkCount; ++i) {
        EXPECT_TRUE(scan.LinkList[i].startsWith("/200")) << scan.LinkList[i].constData();
        EXPECT_TRUE(scan.CoverList[i].startsWith("/upload/"));
        EXPECT_FALSE(scan.NumberList[i].isEmpty());
        const ByteText numeric = DateToNumeric(scan.DateList[i]);
        EXPECT_EQ(numeric.count('.'), 2) << scan.DateList[i].constData();
        EXPECT_FALSE(fetch(site_->magazineMain(), scan.CoverList[i]).isEmpty());
    }
}

TEST_F(DemoPages, ScriptCleansMagazinePrintPages) {
    const ByteText main = fetch(site_->magazineArchive(), "/");
    LinkScan scan;
    FindMagazineLinks(scan, main.mid(main.indexOf(W("<h3>Архив"))), true, site_->magazineMain());
    ASSERT_GE(scan.LinkCount, 1);
    // The article links of the newest complete issue follow "Тема номера".
    ByteText contents;
    ByteText issuePath;
    for (int i = 0; i < scan.LinkCount && issuePath.isEmpty(); ++i) {
        contents = fetch(site_->magazineArchive(), scan.LinkList[i]);
        if (!contents.contains(W("пока доступен только в виде редакционного анонса")))
            issuePath = scan.LinkList[i];
    }
    ASSERT_FALSE(issuePath.isEmpty());
    const qsizetype theme = contents.indexOf(W("Тема номера"));
    ASSERT_GE(theme, 0);
    QList<ByteText> articles;
    for (qsizetype at = contents.indexOf("\"" + issuePath, theme); at >= 0 && articles.size() < 4;
         at = contents.indexOf("\"" + issuePath, at + 1)) {
        const qsizetype start = at + 1 + issuePath.size();
        articles.append(contents.mid(start, contents.indexOf('"', start) - start));
    }
    ASSERT_FALSE(articles.isEmpty());
    ScriptedMessenger messenger;
    PageProcessor processor(messenger);
    for (const ByteText& article : articles) {
        const ByteText raw =
            fetch(site_->magazineArchive(), "/print/offline" + issuePath + article);
        ASSERT_FALSE(raw.isEmpty()) << article.constData();
        FindMagazineLinks(scan, raw, false);
        const ByteText page = processor.ProcessPage(raw, 2, script());
        expectClean(page);
        expectLocalPictures(page, scan);
    }
    EXPECT_TRUE(messenger.shown().isEmpty());
}

TEST(DemoPagesCrowded, AHundredPicturesOnAPageStayWithinTheReplacementLimit) {
    DemoSite site({"--images", "100", "--pages", "3"});
    ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
    TempProgramFolder home;
    LinkScan scan;
    FindNewspaperLinks(scan, fetch(site.newspaper(), "/"), true);
    const ByteText issue = newestIssue(scan);
    ASSERT_FALSE(issue.isEmpty());
    FindNewspaperLinks(scan, fetch(site.newspaper(), "/daily/" + issue), true);
    ByteText article;
    for (int i = 0; i < scan.LinkCount && article.isEmpty(); ++i)
        if (scan.LinkList[i].startsWith("/daily/" + issue + "/"))
            article = scan.LinkList[i];
    const ByteText raw = fetch(site.newspaper(), article + "/print/");
    FindNewspaperLinks(scan, raw, false);
    ASSERT_EQ(scan.LinkCount, 100);
    ScriptedMessenger messenger;
    PageProcessor processor(messenger);
    const ByteText page = processor.ProcessPage(raw, 1, home.file("data/script.txt"));
    EXPECT_TRUE(messenger.shown().isEmpty());
    expectClean(page);
    expectLocalPictures(page, scan);
}
