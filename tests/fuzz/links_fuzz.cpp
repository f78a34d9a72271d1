// Reading the sites' pages: every scanner of links, issue lists, archive
// calendars and dates on the same bytes, with the limits the workflow relies
// on checked after each (no list past its capacity, counts that match their
// lists), and the byte text round trip every page goes through.
#include "processing/find_links.h"
#include "tests/fuzz/fuzz_check.h"

#include <cstdint>

namespace {

void checkLinks(const LinkScan& scan) {
    FUZZ_CHECK(scan.LinkCount >= 0 && scan.LinkCount <= LinkScan::LinkCapacity);
    FUZZ_CHECK(scan.LinkCount <= scan.LinkList.size());
    FUZZ_CHECK(scan.LinkList.size() <= LinkScan::LinkCapacity);
    for (const ByteText& link : scan.LinkList)
        (void)IssueNumberFromLink(link);
}

void scanNewspaper(const ByteText& page) {
    LinkScan scan;
    FindNewspaperLinks(scan, page, true);
    checkLinks(scan);
    FUZZ_CHECK(scan.TitleList.size() == scan.LinkList.size());
    FindNewspaperLinks(scan, page, false);
    checkLinks(scan);

    ByteText calendar = page;
    ParseNewspaperArchive(scan, calendar);
    FUZZ_CHECK(scan.ArchiveCount >= 0 && scan.ArchiveCount <= LinkScan::ArchiveCapacity);
    FUZZ_CHECK(scan.ArchiveNumbers.size() == scan.ArchiveCount);
    FUZZ_CHECK(scan.ArchiveDates.size() == scan.ArchiveCount);
    FUZZ_CHECK(calendar.size() <= page.size());
    for (const ByteText& date : scan.ArchiveDates)
        (void)DateToNumeric(date);

    (void)DateToNumeric(FindNewspaperDate(page));
    (void)DateToNumeric(page.left(64));
}

void scanMagazine(const ByteText& page) {
    LinkScan scan;
    FindMagazineLinks(scan, page, true, "127.0.0.1:8080");
    checkLinks(scan);
    FUZZ_CHECK(scan.CoverList.size() <= scan.LinkList.size());
    FUZZ_CHECK(scan.NumberList.size() <= scan.LinkList.size());
    FUZZ_CHECK(scan.DateList.size() <= scan.LinkList.size());
    if (scan.LinkCount > 0)
        FUZZ_CHECK(scan.DateList.size() == scan.LinkCount);
    FindMagazineLinks(scan, page, false);
    checkLinks(scan);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const ByteText page(reinterpret_cast<const char*>(data), qsizetype(size));
    FUZZ_CHECK(cp1251::fromUnicode(cp1251::toUnicode(page)) == page);
    scanNewspaper(page);
    scanMagazine(page);
    return 0;
}
