// Link, issue-list and date extraction on hand-written snippets in the
// sites' shape.
#include "processing/find_links.h"

#include <gtest/gtest.h>

namespace {

ByteText heading(const ByteText& path, const ByteText& title) {
    return "<h3><a href=\"" + path + "\">" + title + "</a></h3>\r\n";
}

const ByteText CoverHost = "img.zenitra.ru";

ByteText magazineBlock(const ByteText& path, const ByteText& number, const char* date,
                       bool withCover = true, bool withDate = true) {
    ByteText block = "<div class=\"issue\"><a href=\"" + path + "\">";
    if (withCover)
        block += "<img src=\"http://" + CoverHost + "/upload/covers/" + number + ".jpg\" alt=\"\">";
    block += W("Номер&nbsp;(") + number + ")</a><br>";
    if (withDate)
        block += W("Дата выхода: ") + W(date) + W(" года<br>");
    return block + "</div>\r\n";
}

} // namespace

TEST(FindNewspaperLinks, HeadingLinksAndTitlesInPageOrder) {
    LinkScan scan;
    ByteText page = "<html><body>" + heading("/daily/1/2/", "Title") +
                    heading("/daily/23456/77/", W("Пожар на складе")) +
                    "<h3>not a link</h3><a href=\"/x/\">skip</a></body></html>";
    FindNewspaperLinks(scan, page, true);
    ASSERT_EQ(scan.LinkCount, 2);
    EXPECT_EQ(scan.LinkList[0], "/daily/1/2/");
    EXPECT_EQ(scan.TitleList[0], "Title");
    EXPECT_EQ(scan.LinkList[1], "/daily/23456/77/");
    EXPECT_EQ(scan.TitleList[1], W("Пожар на складе"));
}

TEST(FindNewspaperLinks, KeepsTheFirstHundredOfMany) {
    LinkScan scan;
    ByteText page;
    for (int i = 1; i <= 150; ++i)
        page += heading("/daily/9/" + ByteText::number(i) + "/", "T" + ByteText::number(i));
    FindNewspaperLinks(scan, page, true);
    ASSERT_EQ(scan.LinkCount, LinkScan::LinkCapacity);
    ASSERT_EQ(scan.LinkList.size(), 100);
    EXPECT_EQ(scan.LinkList[99], "/daily/9/100/");
    EXPECT_EQ(scan.TitleList[99], "T100");
}

TEST(FindNewspaperLinks, ImagesWithHeadingsOff) {
    LinkScan scan;
    FindNewspaperLinks(scan, heading("/daily/1/2/", "T"), true);
    ByteText page = "<img src=\"/upimg/2005/a.jpg\"><img src=\"/_img/logo.gif\">"
                    "<img  src=\"/upimg/b.gif\" alt=\"\">";
    FindNewspaperLinks(scan, page, false);
    ASSERT_EQ(scan.LinkCount, 2);
    EXPECT_EQ(scan.LinkList[0], "/upimg/2005/a.jpg");
    EXPECT_EQ(scan.LinkList[1], "/upimg/b.gif");
    EXPECT_TRUE(scan.TitleList.isEmpty()) << "a scan clears the lists it fills";
}

TEST(FindNewspaperLinks, CopiesEndAtTheEndOfAnUnterminatedPage) {
    LinkScan scan;
    FindNewspaperLinks(scan, "xx<h3><a href=\"/daily/5/6", true);
    ASSERT_EQ(scan.LinkCount, 1);
    EXPECT_EQ(scan.LinkList[0], "/daily/5/6");
    EXPECT_EQ(scan.TitleList[0], "");
    FindNewspaperLinks(scan, "<h3><a href=", true);
    EXPECT_EQ(scan.LinkCount, 1);
    FindNewspaperLinks(scan, "<h3><a href=\"/a/\">no end of title", true);
    EXPECT_EQ(scan.TitleList[0], "no end of title");
    FindNewspaperLinks(scan, "<img src=\"/upimg/never-closed.jpg", false);
    EXPECT_EQ(scan.LinkList[0], "/upimg/never-closed.jpg");
}

TEST(IssueNumberFromLink, NumberAfterDaily) {
    EXPECT_EQ(IssueNumberFromLink("/daily/23456/print/"), "23456");
    EXPECT_EQ(IssueNumberFromLink("/daily/23456/123/"), "23456");
    EXPECT_EQ(IssueNumberFromLink("/archive/"), "");
    EXPECT_EQ(IssueNumberFromLink("/daily/777"), "777");
    EXPECT_EQ(IssueNumberFromLink("/daily/"), "");
}

TEST(FindLinks, AnIssuesLinksAreThoseOfItsWholeNumber) {
    EXPECT_TRUE(LinkOfIssue("/daily/2361/5/", "2361"));
    EXPECT_TRUE(LinkOfIssue("/daily/2361", "2361"));
    EXPECT_FALSE(LinkOfIssue("/daily/23613/5/", "2361"));
    EXPECT_TRUE(LinkOfIssue("/daily/23613/5/", "23613"));
    EXPECT_FALSE(LinkOfIssue("/weekly/2361/5/", "2361"));
}

TEST(FindMagazineLinks, IssueBlocksWithCoversNumbersAndDates) {
    LinkScan scan;
    ByteText page = W("<h3>Архив \"Зенитры\"</h3>\r\n") +
                    magazineBlock("/2005/2/", "575", "12 января 2005") +
                    magazineBlock("/2005/1/", "574", "5 января 2005");
    FindMagazineLinks(scan, page, true, CoverHost);
    ASSERT_EQ(scan.LinkCount, 2);
    EXPECT_EQ(scan.LinkList[0], "/2005/2/");
    EXPECT_EQ(scan.CoverList[0], "/upload/covers/575.jpg");
    EXPECT_EQ(scan.NumberList[0], "575");
    EXPECT_EQ(scan.DateList[0], W("12 января 2005"));
    EXPECT_EQ(scan.NumberList[1], "574");
    EXPECT_EQ(scan.DateList[1], W("5 января 2005"));
    EXPECT_FALSE(scan.TitleList[0].contains("&nbsp;")) << "blanks for &nbsp; in a block";
    EXPECT_TRUE(scan.TitleList[0].contains(W("Номер (575)")));
    EXPECT_FALSE(scan.TitleList[0].contains("</div>"));
}

TEST(FindMagazineLinks, CoverOnAHostWithAPort) {
    LinkScan scan;
    ByteText page = "<a href=\"/2006/3/\"><img src=\"http://127.0.0.1:8081/upload/c.png\">(9)</a>" +
                    W("Дата выхода: 1 марта 2006 года<br></div>");
    FindMagazineLinks(scan, page, true, "127.0.0.1:8081");
    ASSERT_EQ(scan.LinkCount, 1);
    EXPECT_EQ(scan.CoverList[0], "/upload/c.png");
    FindMagazineLinks(scan, page, true, "other.host");
    EXPECT_EQ(scan.LinkCount, 0) << "a cover on another host is no cover";
}

TEST(FindMagazineLinks, ABlockWithoutADateEndsTheScanWithNoIssues) {
    LinkScan scan;
    ByteText page = magazineBlock("/2005/3/", "576", "19 января 2005", true, false) +
                    magazineBlock("/2005/2/", "575", "12 января 2005");
    FindMagazineLinks(scan, page, true, CoverHost);
    EXPECT_EQ(scan.LinkCount, 0);
    EXPECT_EQ(scan.LinkList.size(), 1) << "the scan ended at the first block";
    EXPECT_EQ(scan.NumberList.value(0), "576") << "what was filled stays";

    FindMagazineLinks(scan, magazineBlock("/2005/2/", "575", "x", false), true, CoverHost);
    EXPECT_EQ(scan.LinkCount, 0);
}

TEST(FindMagazineLinks, AnIssueLinkedTwiceGivesTwoEntriesFromTheFirstBlock) {
    LinkScan scan;
    ByteText page = magazineBlock("/2005/2/", "575", "12 января 2005") +
                    "<p><a href=\"/2005/2/\">" + W("ещё раз") + "</a></p></div>";
    FindMagazineLinks(scan, page, true, CoverHost);
    ASSERT_EQ(scan.LinkCount, 2);
    EXPECT_EQ(scan.LinkList[1], "/2005/2/");
    EXPECT_EQ(scan.TitleList[1], scan.TitleList[0]);
    EXPECT_EQ(scan.NumberList[1], "575");
}

TEST(FindMagazineLinks, UnterminatedDateAndNumberStayInsideTheBlock) {
    LinkScan scan;
    ByteText page = "<a href=\"/2007/1/\"><img src=\"http://" + CoverHost +
                    "/upload/x.gif\">no paren)</a>" + W("Дата выхода: 3 мая 2007");
    FindMagazineLinks(scan, page, true, CoverHost);
    ASSERT_EQ(scan.LinkCount, 1);
    EXPECT_EQ(scan.DateList[0], W("3 мая 2007"));
    EXPECT_FALSE(scan.NumberList[0].isEmpty());
    EXPECT_TRUE(scan.NumberList[0].endsWith("no paren"));
}

TEST(FindMagazineLinks, ImagesWithIssuesOff) {
    LinkScan scan;
    FindMagazineLinks(scan,
                      "<img src=\"/upload/a/1.jpg\"><img src=\"/img/no.gif\">"
                      "<img src=\"/upload/2.png\">",
                      false);
    ASSERT_EQ(scan.LinkCount, 2);
    EXPECT_EQ(scan.LinkList[0], "/upload/a/1.jpg");
    EXPECT_EQ(scan.LinkList[1], "/upload/2.png");
}

TEST(DateToNumeric, PrintedDates) {
    EXPECT_EQ(DateToNumeric(W("12 января 2005")), "12.01.2005");
    EXPECT_EQ(DateToNumeric(W("5&nbsp;мая&nbsp;2006")), "5.05.2006");
    EXPECT_EQ(DateToNumeric(W("31 декабря 1999")), "31.12.1999");
    EXPECT_EQ(DateToNumeric(W("1 марта 2007")), "1.03.2007");
    EXPECT_EQ(DateToNumeric("12 2005"), "122005");
    EXPECT_EQ(DateToNumeric("not found"), "notound");
    EXPECT_EQ(DateToNumeric(""), "");
    EXPECT_EQ(DateToNumeric("7 x"), "7x") << "a short text is never read twice";
}

TEST(FindNewspaperDate, DateElementOrNotFound) {
    ByteText contents = "<body><div id=\"date\"> <em>" + W("12 января 2005") + "</em></div>";
    EXPECT_EQ(FindNewspaperDate(contents), W("12 января 2005"));
    EXPECT_EQ(FindNewspaperDate("<div id=\"day\">1</div>"), "not found");
    EXPECT_EQ(FindNewspaperDate("<div id=\"date\"> <em>unterminated"), "unterminated");
}

namespace {

ByteText archivePage(const char* monthHeading, const ByteText& year = "2006") {
    ByteText page = "<html><head><title>x</title></head><body><h1>Archive</h1>"
                    "<a href=\"/daily/1/\">1</a>\r\n<ul id=\"calendar-list\">\r\n"
                    "<li class=\"act first\">" +
                    year + "</li>\r\n</ul>\r\n<h3>" + W(monthHeading) + "</h3>\r\n<table><tr>";
    page += "<td><a href=\"/daily/23610/\">7</a></td><td>8</td>";
    page += "<td><a href=\"/daily/archive/2005/\">2005</a></td>";
    page += "<td><a href=\"/daily/23613/\">12</a></td></tr></table>\r\n";
    page += "<h3>" + W("Февраль") + "</h3><td><a href=\"/daily/23500/\">1</a></td>\r\n";
    page += "<p>" + W("<strong>Архив:</strong>") + " <a href=\"/daily/9/\">9</a></p></body>";
    return page;
}

} // namespace

TEST(ParseNewspaperArchive, CalendarWithMonthsAndYear) {
    LinkScan scan;
    ByteText page = archivePage("Март");
    ParseNewspaperArchive(scan, page);
    ASSERT_EQ(scan.ArchiveCount, 3);
    EXPECT_EQ(scan.ArchiveNumbers[0], "23610");
    EXPECT_EQ(scan.ArchiveDates[0], "7.03.2006");
    EXPECT_EQ(scan.ArchiveNumbers[1], "23613");
    EXPECT_EQ(scan.ArchiveDates[1], "12.03.2006");
    EXPECT_EQ(scan.ArchiveNumbers[2], "23500");
    EXPECT_EQ(scan.ArchiveDates[2], "1.02.2006");
    EXPECT_TRUE(page.startsWith("<ul id=\"calendar-list\""));
    EXPECT_TRUE(page.endsWith("<")) << "cut just after the marker's opening";
}

TEST(ParseNewspaperArchive, UnknownMonthHeadingIsUsedUnchanged) {
    LinkScan scan;
    ByteText page = archivePage("March");
    ParseNewspaperArchive(scan, page);
    ASSERT_GE(scan.ArchiveCount, 1);
    EXPECT_EQ(scan.ArchiveDates[0], "7.March.2006");
}

TEST(ParseNewspaperArchive, WithoutTheArchiveMarkerThereAreNoIssues) {
    LinkScan scan;
    ByteText page = archivePage("Март");
    page.replace(W("<strong>Архив:</strong>"), "<strong>Archive</strong>");
    ParseNewspaperArchive(scan, page);
    EXPECT_EQ(scan.ArchiveCount, 0);
    EXPECT_TRUE(page.isEmpty());
}

TEST(ParseNewspaperArchive, YearFallsBackToTheRunAroundActFirst) {
    LinkScan scan;
    ByteText page = archivePage("Май", "MMVI");
    ParseNewspaperArchive(scan, page);
    ASSERT_GE(scan.ArchiveCount, 1);
    EXPECT_EQ(scan.ArchiveDates[0], "7.05.act first\">MMVI</li>");
}

TEST(ParseNewspaperArchive, KeepsAtMostAHundredDays) {
    LinkScan scan;
    ByteText page =
        "<ul id=\"calendar-list\"><li class=\"act first\">2006</li></ul><h3>" + W("июнь") + "</h3>";
    for (int i = 0; i < 130; ++i)
        page += "<a href=\"/daily/" + ByteText::number(20000 + i) + "/\">1</a>";
    page += W("<strong>Архив:</strong>");
    ParseNewspaperArchive(scan, page);
    EXPECT_EQ(scan.ArchiveCount, LinkScan::ArchiveCapacity);
    EXPECT_EQ(scan.ArchiveNumbers.size(), 100);
    EXPECT_EQ(scan.ArchiveDates[99], "1.06.2006");
}
