// The demo site's pages against the patterns the download workflows read.
#include "tests/demosite/fetch.h"
#include "tests/demosite/page_scan.h"
#include "tests/support/demo_site.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

class DemoSitePages : public ::testing::Test {
protected:
    static void SetUpTestSuite() { site = new DemoSite({"--seed", "7"}); }
    static void TearDownTestSuite() {
        delete site;
        site = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(site->isRunning()) << site->error().toStdString(); }

    static DemoSite* site;
};
DemoSite* DemoSitePages::site = nullptr;

ByteText headerOf(const ByteText& response) {
    return response.left(response.indexOf("\r\n\r\n") + 4);
}

void expectPicture(const ByteText& host, const ByteText& path) {
    const RawResult result = rawExchange(host, programRequest(host, path));
    ASSERT_TRUE(result.bytes.startsWith("HTTP/1.0 200 OK\r\n")) << path.constData();
    const ByteText type = path.endsWith(".jpg")   ? "image/jpeg"
                          : path.endsWith(".png") ? "image/png"
                                                  : "image/gif";
    EXPECT_TRUE(headerOf(result.bytes).contains("Content-Type: " + type)) << path.constData();
    QImage image;
    EXPECT_TRUE(image.loadFromData(bodyOf(result.bytes))) << path.constData();
    EXPECT_GT(image.width(), 10);
}

TEST_F(DemoSitePages, EveryPageDeclaresItsCharsetAndIsWindows1251) {
    for (const ByteText& path : {ByteText("/"), ByteText("/daily/archive/")}) {
        const ByteText page = getBody(site->newspaper(), path);
        EXPECT_TRUE(page.contains("<meta charset=windows-1251>"));
        EXPECT_TRUE(page.contains(W("Ведомир")));
        EXPECT_FALSE(page.contains("\xD0\x92")) << "UTF-8 leaked into a page";
    }
    EXPECT_TRUE(getBody(site->magazineArchive(), "/").contains("<meta charset=windows-1251>"));
}

TEST_F(DemoSitePages, NewspaperMainPageNamesTheNewestIssueInTheSecondGroupOfThree) {
    const QList<HeadingLink> links = headingLinks(getBody(site->newspaper(), "/"));
    ASSERT_GE(links.size(), 7);
    const ByteText first = issueNumberFromLink(links[0].path);
    EXPECT_FALSE(first == issueNumberFromLink(links[1].path) &&
                 first == issueNumberFromLink(links[2].path))
        << "the first group must not decide";
    const ByteText newest = newestIssue(links);
    ASSERT_FALSE(newest.isEmpty());
    EXPECT_EQ(newest, issueNumberFromLink(links[3].path));
    const QList<ArchiveEntry> archive =
        newspaperArchive(getBody(site->newspaper(), "/daily/archive/"));
    ASSERT_FALSE(archive.isEmpty());
    EXPECT_EQ(archive.last().number, newest);
    for (const HeadingLink& link : links)
        EXPECT_FALSE(link.title.isEmpty());
}

TEST_F(DemoSitePages, ArchiveListsEveryIssueWithItsDayMonthAndYear) {
    const QList<ArchiveEntry> entries =
        newspaperArchive(getBody(site->newspaper(), "/daily/archive/"));
    ASSERT_EQ(entries.size(), 5);
    for (qsizetype i = 0; i < entries.size(); ++i) {
        EXPECT_TRUE(entries[i].date.endsWith(".2006")) << entries[i].date.constData();
        EXPECT_EQ(entries[i].date.split('.').size(), 3);
        EXPECT_EQ(entries[i].date.split('.')[1].size(), 2) << "month heading not recognised";
        // In calendar order, one number apart.
        EXPECT_EQ(entries[i].number.toInt(), entries[0].number.toInt() + i);
        // The table of contents of each issue carries the same date.
        const ByteText contents = getBody(site->newspaper(), "/daily/" + entries[i].number);
        const ByteText printed = newspaperDate(contents);
        EXPECT_TRUE(printed.startsWith(entries[i].date.split('.')[0] + " "))
            << printed.constData() << " vs " << entries[i].date.constData();
        EXPECT_TRUE(printed.endsWith("2006"));
    }
    // The day links end the calendar before the "Архив:" line.
    const ByteText page = getBody(site->newspaper(), "/daily/archive/");
    EXPECT_LT(page.lastIndexOf("<a href=\"/daily/" + entries.last().number + "/\">"),
              page.indexOf(W("<strong>Архив:</strong>")));
    EXPECT_EQ(page.count("act first"), 1);
}

TEST_F(DemoSitePages, TableOfContentsLeadsToPrintPagesWithLogoAndPictures) {
    const ByteText number = newestIssue(headingLinks(getBody(site->newspaper(), "/")));
    const ByteText contents = getBody(site->newspaper(), "/daily/" + number);
    QList<ByteText> pages;
    for (const HeadingLink& link : headingLinks(contents))
        if (link.path.startsWith("/daily/" + number))
            pages.append(link.path + "/print/");
    EXPECT_EQ(pages.size(), 24);
    EXPECT_GT(headingLinks(contents).size(), pages.size()) << "side links are part of the page";
    const ByteText logo = "<a href=\"http://" + site->newspaper() +
                          "\"><img src=\"/_img/logo.gif\" alt=\"\x8A\x8F\" "
                          "style=\"border:none;\" /></a>";
    int pictures = 0;
    for (const ByteText& path : pages.mid(0, 6)) {
        const ByteText page = getBody(site->newspaper(), path);
        ASSERT_FALSE(page.isEmpty()) << path.constData();
        EXPECT_TRUE(page.contains(logo)) << path.constData();
        EXPECT_TRUE(page.contains("<script"));
        EXPECT_TRUE(page.contains("<!--adv-->") && page.contains("<!--/adv-->"));
        const QList<ByteText> images = sources(page, "/upimg");
        EXPECT_EQ(images.size(), 2);
        for (const ByteText& image : images) {
            expectPicture(site->newspaper(), image);
            ++pictures;
        }
    }
    EXPECT_EQ(pictures, 12);
    expectPicture(site->newspaper(), "/_img/logo.gif");
}

TEST_F(DemoSitePages, MagazineArchiveBlocksGiveIssuePathCoverNumberAndDate) {
    const ByteText page = getBody(site->magazineArchive(), "/");
    const ByteText heading = W("<h3>Архив \"Зенитры\"</h3>");
    const qsizetype at = page.indexOf(heading);
    ASSERT_GE(at, 0);
    const QList<MagazineBlock> blocks = magazineBlocks(page.mid(at), site->magazineMain());
    ASSERT_EQ(blocks.size(), 5);
    for (const MagazineBlock& block : blocks) {
        EXPECT_TRUE(block.path.startsWith("/200") && block.path.endsWith("/"));
        EXPECT_TRUE(block.path.contains("/" + block.number + "/"));
        EXPECT_TRUE(block.cover.startsWith("/upload/") && block.cover.endsWith(".jpg"));
        EXPECT_TRUE(block.date.contains(' ') && block.date.endsWith("2006"))
            << block.date.constData();
        expectPicture(site->magazineMain(), block.cover);
    }
}

TEST_F(DemoSitePages, MagazineIssueListsArticlesWhosePrintPagesHoldUploadPictures) {
    const ByteText archive = getBody(site->magazineArchive(), "/");
    const QList<MagazineBlock> blocks =
        magazineBlocks(archive.mid(archive.indexOf("<h3>")), site->magazineMain());
    ASSERT_FALSE(blocks.isEmpty());
    const ByteText path = blocks.first().path;
    const ByteText contents = getBody(site->magazineArchive(), path);
    EXPECT_FALSE(contents.contains(W("пока доступен только в виде редакционного анонса")));
    const QList<MagazineArticle> articles = magazineArticles(contents, path);
    ASSERT_EQ(articles.size(), 24);
    for (const MagazineArticle& article : articles.mid(0, 5)) {
        EXPECT_FALSE(article.title.isEmpty());
        EXPECT_FALSE(article.annotation.isEmpty());
        const ByteText page =
            getBody(site->magazineArchive(), "/print/offline" + path + article.path);
        ASSERT_FALSE(page.isEmpty()) << article.path.constData();
        const QList<ByteText> images = sources(page, "/upload/");
        EXPECT_EQ(images.size(), 2);
        for (const ByteText& image : images)
            expectPicture(site->magazineArchive(), image);
    }
}

TEST_F(DemoSitePages, SecondMagazineIssueIsAnnouncedAndThirdHasThreeArticles) {
    const ByteText archive = getBody(site->magazineArchive(), "/");
    const QList<MagazineBlock> blocks =
        magazineBlocks(archive.mid(archive.indexOf("<h3>")), site->magazineMain());
    ASSERT_GE(blocks.size(), 3);
    const ByteText announced = getBody(site->magazineArchive(), blocks[1].path);
    EXPECT_TRUE(announced.contains(W("пока доступен только в виде редакционного анонса")));
    EXPECT_GE(magazineArticles(announced, blocks[1].path).size(), 4);
    const ByteText brief = getBody(site->magazineArchive(), blocks[2].path);
    EXPECT_EQ(magazineArticles(brief, blocks[2].path).size(), 3);
    EXPECT_FALSE(brief.contains(W("редакционного анонса")));
}

TEST_F(DemoSitePages, UpdateServerDescribesTheReleaseItServes) {
    const ByteText info = getBody(site->update(), "/version.info");
    EXPECT_TRUE(info.startsWith("[Main]\r\nVersion=2.1.7\r\n"));
    const ByteText host = "Host=" + site->update() + "\r\n";
    EXPECT_TRUE(info.contains(host));
    const qsizetype nameAt = info.indexOf("FileName=") + 9;
    const ByteText name = info.mid(nameAt, info.indexOf("\r\n", nameAt) - nameAt);
    const qsizetype sizeAt = info.indexOf("FileSize=") + 9;
    const int size = info.mid(sizeAt, info.indexOf("\r\n", sizeAt) - sizeAt).toInt();
    EXPECT_EQ(info.count("\r\n;"), 4);
    EXPECT_EQ(getBody(site->update(), "/" + name).size(), size);
    EXPECT_GT(size, 60000);
    EXPECT_FALSE(getBody(site->update(), "/download.php?version=2.1.7").isEmpty());
    EXPECT_TRUE(getBody(site->update(), "/download.php?version=2.1.7").startsWith("OK"));
}

TEST(DemoSiteUpdate, NewerVersionBySwitch) {
    DemoSite site({"--update-version", "2.2.0"});
    ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
    const ByteText info = getBody(site.update(), "/version.info");
    EXPECT_TRUE(info.contains("Version=2.2.0\r\n"));
    EXPECT_TRUE(info.contains("FileName=norvel2-2.2.0-update.sh\r\n"));
    EXPECT_FALSE(getBody(site.update(), "/norvel2-2.2.0-update.sh").isEmpty());
}

TEST_F(DemoSitePages, UnknownPathsAnswer404InTheStatusLine) {
    for (const ByteText& path : {ByteText("/nothing"), ByteText("/daily/1"),
                                 ByteText("/daily/archive/x/y"), ByteText("/upimg/none.jpg")}) {
        const RawResult result =
            rawExchange(site->newspaper(), programRequest(site->newspaper(), path));
        EXPECT_TRUE(result.bytes.startsWith("HTTP/1.0 404 Not Found\r\n")) << path.constData();
        EXPECT_TRUE(result.closedByServer);
    }
    const RawResult magazine =
        rawExchange(site->magazineArchive(), programRequest(site->magazineArchive(), "/2006/1/"));
    EXPECT_TRUE(magazine.bytes.startsWith("HTTP/1.0 404 Not Found\r\n"));
}

TEST_F(DemoSitePages, SitesProfileNamesEveryHostOnLoopback) {
    const ByteText profile = site->sitesProfile();
    EXPECT_TRUE(profile.startsWith("[Sites]\r\nNewspaper=127.0.0.1:"));
    for (const ByteText& host : {site->newspaper(), site->magazineArchive(), site->magazineMain(),
                                 site->update(), site->homePage(), site->proxy()}) {
        EXPECT_TRUE(host.startsWith("127.0.0.1:"));
        EXPECT_GT(DemoSite::portOf(host), 0);
    }
    EXPECT_EQ(profile.count("\r\n"), profile.count('\n'));
}

} // namespace
