// The program's own scanners and its shipped processing script read the demo
// site's pages as the download workflows will.
#include "processing/find_links.h"
#include "processing/process_page.h"
#include "tests/demosite/fetch.h"
#include "tests/support/demo_site.h"
#include "tests/support/scripted_messenger.h"
#include "tests/support/temp_program_folder.h"

#include <gtest/gtest.h>

namespace {

QString shippedScript() {
    return TempProgramFolder::binDir() + "/data/script.txt";
}

TEST(DemoSiteWithScanners, NewspaperIssueIsFoundDatedAndProcessed) {
    DemoSite site({"--seed", "5"});
    ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
    LinkScan scan;
    FindNewspaperLinks(scan, getBody(site.newspaper(), "/"), true);
    ByteText latest;
    for (int start = 1; start <= scan.LinkCount - 3 && latest.isEmpty(); start += 3) {
        const ByteText number = IssueNumberFromLink(scan.LinkList[start - 1]);
        if (!number.isEmpty() && number == IssueNumberFromLink(scan.LinkList[start]) &&
            number == IssueNumberFromLink(scan.LinkList[start + 1]))
            latest = number;
    }
    ASSERT_FALSE(latest.isEmpty());

    ByteText archive = getBody(site.newspaper(), "/daily/archive/");
    ParseNewspaperArchive(scan, archive);
    ASSERT_EQ(scan.ArchiveCount, 5);
    EXPECT_EQ(scan.ArchiveNumbers[4], latest);

    const ByteText contents = getBody(site.newspaper(), "/daily/" + latest);
    EXPECT_EQ(DateToNumeric(FindNewspaperDate(contents)), scan.ArchiveDates[4]);
    FindNewspaperLinks(scan, contents, true);
    QList<ByteText> pages;
    for (int i = 0; i < scan.LinkCount; ++i)
        if (scan.LinkList[i].startsWith("/daily/" + latest))
            pages.append(scan.LinkList[i] + "/print/");
    ASSERT_GT(pages.size(), 20);

    ScriptedMessenger messenger;
    PageProcessor processor(messenger);
    const ByteText page = getBody(site.newspaper(), pages[0]);
    FindNewspaperLinks(scan, page, false);
    ASSERT_EQ(scan.LinkCount, 2);
    const ByteText processed = processor.ProcessPage(page, 1, shippedScript());
    EXPECT_TRUE(messenger.shown().isEmpty());
    EXPECT_FALSE(processor.ScriptFailed());
    if (processed == page)
        GTEST_SKIP() << "the shipped script has no rules yet";
    EXPECT_FALSE(processed.contains("<script"));
    EXPECT_FALSE(processed.contains(W("Реклама")));
    EXPECT_TRUE(processed.contains("%prevpage%") && processed.contains("%nextpage%"));
    const ByteText logo = "<a href=\"http://" + site.newspaper() + "\"><img src=\"/_img/logo.gif\"";
    EXPECT_TRUE(processed.contains(logo)) << "the logo is left for the date";
    for (int i = 0; i < scan.LinkCount; ++i) {
        const ByteText name = scan.LinkList[i].mid(scan.LinkList[i].lastIndexOf('/') + 1);
        EXPECT_TRUE(processed.contains("src=\"img/" + name + "\"")) << name.constData();
    }
}

TEST(DemoSiteWithScanners, MagazineIssuesCoversAndPagesAreRead) {
    DemoSite site;
    ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
    const ByteText main = getBody(site.magazineArchive(), "/");
    const qsizetype marker = main.indexOf(W("<h3>Архив \"Зенитры\"</h3>"));
    ASSERT_GE(marker, 0);
    LinkScan scan;
    FindMagazineLinks(scan, main.mid(marker), true, site.magazineMain());
    ASSERT_EQ(scan.LinkCount, 5);
    for (int i = 0; i < scan.LinkCount; ++i) {
        EXPECT_TRUE(scan.LinkList[i].startsWith("/200"));
        EXPECT_TRUE(scan.LinkList[i].contains("/" + scan.NumberList[i] + "/"));
        EXPECT_FALSE(getBody(site.magazineMain(), scan.CoverList[i]).isEmpty());
        // "6.11.2006": the day unpadded, the month from its genitive name.
        const QList<ByteText> parts = DateToNumeric(scan.DateList[i]).split('.');
        ASSERT_EQ(parts.size(), 3) << scan.DateList[i].constData();
        EXPECT_EQ(parts[1].size(), 2);
        EXPECT_EQ(parts[2].size(), 4);
    }
    const ByteText issue = scan.LinkList[0];
    const ByteText contents = getBody(site.magazineArchive(), issue);
    const qsizetype first = contents.indexOf("<a href=\"" + issue) + 9 + issue.size();
    const ByteText article = contents.mid(first, contents.indexOf('"', first) - first);
    const ByteText page = getBody(site.magazineArchive(), "/print/offline" + issue + article);
    FindMagazineLinks(scan, page, false);
    ASSERT_EQ(scan.LinkCount, 2);
    ScriptedMessenger messenger;
    PageProcessor processor(messenger);
    const ByteText processed = processor.ProcessPage(page, 2, shippedScript());
    EXPECT_TRUE(messenger.shown().isEmpty());
    if (processed == page)
        GTEST_SKIP() << "the shipped script has no magazine rules yet";
    EXPECT_FALSE(processed.contains("<script"));
    EXPECT_TRUE(processed.contains("%prevpage%") && processed.contains("%nextpage%"));
    for (int i = 0; i < scan.LinkCount; ++i) {
        const ByteText name = scan.LinkList[i].mid(scan.LinkList[i].lastIndexOf('/') + 1);
        EXPECT_TRUE(processed.contains("src=\"img/" + name + "\"")) << name.constData();
    }
}

} // namespace
