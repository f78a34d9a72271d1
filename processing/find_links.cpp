#include "processing/find_links.h"

#include "processing/text_scan.h"
#include "settings/sites.h"

#include <cctype>

using textscan::CopyThroughBeforeSecond;
using textscan::CopyUntil;
using textscan::Find;

namespace {

void clearLinks(LinkScan& scan) {
    scan.LinkList.clear();
    scan.TitleList.clear();
    scan.LinkCount = 0;
}

// Calls onMatch for every position of pattern in page, in page order, until
// onMatch returns false or the lists are full.
template <typename OnMatch>
void scanMatches(const ByteText& page, const ByteText& pattern, OnMatch onMatch) {
    int16_t found = 0;
    for (qsizetype i = page.indexOf(pattern); i >= 0 && found < LinkScan::LinkCapacity;
         i = page.indexOf(pattern, i + 1)) {
        ++found;
        if (!onMatch(i))
            return;
    }
}

// One issue block of the magazine's main page; false when a field is missing.
bool readMagazineBlock(LinkScan& scan, const ByteText& page, const ByteText& link,
                       const ByteText& coverPrefix) {
    static const ByteText dateLabel = W("Дата выхода:");
    static const ByteText dateEnd = W(" года<br>");
    static const ByteText uploadDir = "/upload/";

    // The block after the link's first occurrence, which may lie before the
    // match when the same issue is linked twice.
    qsizetype first = Find(page, link);
    ByteText block = CopyUntil(page, first + 1, "</div>");
    block.replace("&nbsp;", " ");
    scan.TitleList.append(block);

    qsizetype cover = Find(block, coverPrefix);
    if (cover < 0)
        return false;
    scan.CoverList.append(CopyUntil(block, cover + coverPrefix.size() - uploadDir.size(), "\""));

    qsizetype close = Find(block, ")</a>");
    if (close < 0)
        return false;
    // The nearest "(" before it; the walk back goes no further than the
    // block's second character.
    qsizetype open = close - 1;
    while (open > 1 && block[open] != '(')
        --open;
    qsizetype numberStart = open >= 0 && block[open] == '(' ? open + 1 : qMax<qsizetype>(open, 0);
    scan.NumberList.append(block.mid(numberStart, close - numberStart));

    qsizetype date = Find(block, dateLabel);
    if (date < 0)
        return false;
    scan.DateList.append(CopyUntil(block, date + dateLabel.size() + 1, dateEnd));
    return true;
}

} // namespace

void FindNewspaperLinks(LinkScan& scan, const ByteText& page, bool headings) {
    clearLinks(scan);
    if (headings) {
        scanMatches(page, "<h3><a href=", [&](qsizetype i) {
            qsizetype last = 0;
            scan.LinkList.append(CopyThroughBeforeSecond(page, i + 13, '>', &last));
            // The anchor's text follows the ">" two places after the link.
            scan.TitleList.append(CopyUntil(page, last + 3, "<"));
            return true;
        });
    } else {
        scanMatches(page, "src=\"/upimg", [&](qsizetype i) {
            scan.LinkList.append(CopyUntil(page, i + 5, "\""));
            return true;
        });
    }
    scan.LinkCount = int16_t(scan.LinkList.size());
}

void FindMagazineLinks(LinkScan& scan, const ByteText& page, bool issues,
                       const ByteText& imageHost) {
    clearLinks(scan);
    if (!issues) {
        scanMatches(page, "src=\"/upload/", [&](qsizetype i) {
            scan.LinkList.append(CopyUntil(page, i + 5, "\""));
            return true;
        });
        scan.LinkCount = int16_t(scan.LinkList.size());
        return;
    }
    scan.CoverList.clear();
    scan.NumberList.clear();
    scan.DateList.clear();
    const ByteText coverPrefix = "<img src=\"" + SiteAddress(imageHost) + "/upload/";
    bool complete = true;
    scanMatches(page, "<a href=\"/200", [&](qsizetype i) {
        ByteText link = CopyThroughBeforeSecond(page, i + 9, '>');
        scan.LinkList.append(link);
        complete = readMagazineBlock(scan, page, link, coverPrefix);
        return complete;
    });
    scan.LinkCount = complete ? int16_t(scan.LinkList.size()) : 0;
}

bool LinkOfIssue(const ByteText& link, const ByteText& issueNumber) {
    const ByteText prefix = "/daily/" + issueNumber;
    return link.startsWith(prefix) &&
           (link.size() == prefix.size() || !std::isdigit(uchar(link.at(prefix.size()))));
}

ByteText IssueNumberFromLink(const ByteText& link) {
    qsizetype at = link.indexOf("daily/");
    if (at < 0)
        return {};
    return CopyUntil(link, at + 6, "/");
}
