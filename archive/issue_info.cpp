#include "archive/issue_info.h"

#include "processing/find_links.h"
#include "processing/text_scan.h"

namespace {

const ByteText DateHeading = "<div class=\"date";
// The heading's opening tag, <div class="date">, is this long.
constexpr qsizetype DateHeadingTagLength = 18;
const ByteText BuildMark = "<!!!-!!!";
constexpr qsizetype BuildDateLength = 10;

QString orDashes(const ByteText& value) {
    return value.isEmpty() ? QStringLiteral("---") : cp1251::toUnicode(value);
}

// The heading "12 января 2005 (23456)" gives the date before the blank in
// front of "(" and the number after it. An index without the heading has
// neither: text taken from anywhere else would not be a date.
void readHeading(const ByteText& index, IssueInfo& info) {
    const qsizetype at = index.indexOf(DateHeading);
    if (at < 0)
        return;
    // Up to two places before the next "<": the closing parenthesis stays out.
    const ByteText heading =
        textscan::CopyThroughBeforeSecond(index, at + DateHeadingTagLength, '<');
    const qsizetype open = heading.indexOf('(');
    if (open < 0)
        return;
    if (open >= 1)
        info.Date = orDashes(DateToNumeric(heading.left(open - 1)));
    info.Number = orDashes(heading.mid(open + 1));
}

} // namespace

IssueInfo ReadIssueInfo(const ByteText& index, int pageFiles, int imageFiles) {
    IssueInfo info;
    readHeading(index, info);
    const qsizetype mark = index.indexOf(BuildMark);
    if (mark >= 0)
        info.Built = orDashes(index.mid(mark + BuildMark.size(), BuildDateLength));
    if (pageFiles != 0)
        info.Pages = QString::number(pageFiles);
    if (imageFiles > 2)
        info.Pictures = QStringLiteral("да");
    else if (imageFiles == 2)
        info.Pictures = QStringLiteral("нет");
    return info;
}
