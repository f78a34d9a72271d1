#pragma once
// Reading the two sites' HTML: the newspaper's heading links and their
// titles, the issue number a newspaper link carries, the newspaper archive's
// calendar, the magazine main page's issue blocks (link, cover, number,
// date), the image sources of one page of either source, the newspaper
// issue date and its numeric form. Scans compare exact, case-sensitive runs
// at every position with fixed offsets from each match; nothing here touches
// the network, the clipboard or the disk.
//
// Results go into one LinkScan record that the caller owns and reads right
// after the call; every scan clears the lists it fills first. Entry n of a
// list (n from 1, as the workflow counts) is element n - 1.

#include "settings/bytetext.h"

#include <QList>
#include <array>
#include <cstdint>

struct LinkScan {
    // Most entries one scan keeps, in each list.
    static constexpr int16_t LinkCapacity = 100;
    static constexpr int16_t ArchiveCapacity = 100;

    QList<ByteText> LinkList;   // links, or image paths of one page
    QList<ByteText> TitleList;  // newspaper link texts, or magazine issue blocks
    QList<ByteText> CoverList;  // magazine: cover path of each issue
    QList<ByteText> NumberList; // magazine: issue number
    QList<ByteText> DateList;   // magazine: release date as printed
    int16_t LinkCount = 0;      // entries of the last scan, 0..100

    QList<ByteText> ArchiveNumbers; // newspaper archive: issue numbers
    QList<ByteText> ArchiveDates;   // ...and their dates, d.mm.yyyy
    int16_t ArchiveCount = 0;
};

// headings on: every "<h3><a href=" anchor gives its href value (LinkList)
// and its text (TitleList). headings off: every src="/upimg... gives the
// image path (LinkList only).
void FindNewspaperLinks(LinkScan& scan, const ByteText& page, bool headings);

// issues on: one entry per issue block of the magazine's main page, given
// the text from the archive heading on: LinkList (issue path), TitleList
// (the raw block), CoverList, NumberList, DateList. A block lacking a cover,
// a number or a date ends the scan with LinkCount 0 (what was filled stays).
// imageHost is the magazine's picture host ("host", "host:port",
// "https://host") that the covers' absolute addresses name. issues off: every src="/upload/... of a
// page gives its image path (LinkList only).
void FindMagazineLinks(LinkScan& scan, const ByteText& page, bool issues,
                       const ByteText& imageHost = {});

// The issue number after the first "daily/" of a link, up to the next "/"
// or the end; empty text when the link holds no "daily/".
ByteText IssueNumberFromLink(const ByteText& link);

// Whether a link of a newspaper table of contents belongs to the issue of
// that number: it begins "/daily/" + number, and no digit follows (issue
// 2361 must not take the pages of issue 23613).
bool LinkOfIssue(const ByteText& link, const ByteText& issueNumber);

// Reads the archive page's month calendar into ArchiveNumbers, ArchiveDates
// and ArchiveCount, cutting PageText down to the calendar as it goes (the
// caller passes its page text and finds it changed). A step whose marker is
// missing is skipped; the entries past the hundredth are ignored.
void ParseNewspaperArchive(LinkScan& scan, ByteText& PageText);

// The issue date of a newspaper table of contents: the text at the element
// whose id is "date", or "not found".
ByteText FindNewspaperDate(const ByteText& PageText);

// A date as the sites print it ("12 января 2005", "5&nbsp;мая&nbsp;2006")
// as dd.mm.yyyy; the day is not padded ("5.05.2006").
ByteText DateToNumeric(const ByteText& date);

// Month names (Windows-1251) and the codes they stand for.
struct MonthName {
    const char* name; // UTF-8 in the source; compared as Windows-1251
    const char* code;
};
// Nominative names of the archive's month headings, lower case: "01".."12".
extern const std::array<MonthName, 12> NominativeMonths;
// Genitive names of printed dates: ".01.".."12.".
extern const std::array<MonthName, 12> GenitiveMonths;
