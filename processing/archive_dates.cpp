#include "processing/find_links.h"
#include "processing/text_scan.h"

using textscan::CopyUntil;
using textscan::Find;

const std::array<MonthName, 12> NominativeMonths = {{
    {"январь", "01"},
    {"февраль", "02"},
    {"март", "03"},
    {"апрель", "04"},
    {"май", "05"},
    {"июнь", "06"},
    {"июль", "07"},
    {"август", "08"},
    {"сентябрь", "09"},
    {"октябрь", "10"},
    {"ноябрь", "11"},
    {"декабрь", "12"},
}};

const std::array<MonthName, 12> GenitiveMonths = {{
    {"января", ".01."},
    {"февраля", ".02."},
    {"марта", ".03."},
    {"апреля", ".04."},
    {"мая", ".05."},
    {"июня", ".06."},
    {"июля", ".07."},
    {"августа", ".08."},
    {"сентября", ".09."},
    {"октября", ".10."},
    {"ноября", ".11."},
    {"декабря", ".12."},
}};

namespace {

// The month names as byte text, converted once.
const std::array<ByteText, 12>& bytesOf(const std::array<MonthName, 12>& table) {
    static const auto convert = [](const std::array<MonthName, 12>& t) {
        std::array<ByteText, 12> out;
        for (size_t i = 0; i < t.size(); ++i)
            out[i] = W(t[i].name);
        return out;
    };
    static const std::array<ByteText, 12> nominative = convert(NominativeMonths);
    static const std::array<ByteText, 12> genitive = convert(GenitiveMonths);
    return &table == &NominativeMonths ? nominative : genitive;
}

ByteText lowerCase(const ByteText& text) {
    return cp1251::fromUnicode(cp1251::toUnicode(text).toLower());
}

// The two-digit month of an archive heading, or the heading unchanged.
ByteText monthCode(const ByteText& heading) {
    const ByteText lower = lowerCase(heading);
    const auto& names = bytesOf(NominativeMonths);
    for (size_t m = 0; m < names.size(); ++m) {
        if (names[m] == lower)
            return NominativeMonths[m].code;
    }
    return heading;
}

// The month heading in force where the link text ends: the last "<h3>"
// before that point.
ByteText monthBefore(const ByteText& page, qsizetype end) {
    qsizetype heading = page.left(end).lastIndexOf("<h3>");
    if (heading < 0)
        return {};
    return monthCode(CopyUntil(page, heading + 4, "</h3>"));
}

ByteText archiveYear(const ByteText& page) {
    qsizetype at = Find(page, "act first");
    if (at < 0)
        return {};
    ByteText run = page.mid(at, 20);
    qsizetype century = run.indexOf("20");
    return century < 0 ? run : run.mid(century, 4);
}

} // namespace

void ParseNewspaperArchive(LinkScan& scan, ByteText& PageText) {
    static const ByteText archiveEnd = W("<strong>Архив:</strong>");
    static const ByteText dayLink = "<a href=\"/daily/";
    scan.ArchiveNumbers.clear();
    scan.ArchiveDates.clear();
    scan.ArchiveCount = 0;

    qsizetype calendar = Find(PageText, "<ul id=\"calendar-list");
    if (calendar >= 0)
        PageText = PageText.mid(calendar);
    const ByteText year = archiveYear(PageText);
    qsizetype end = Find(PageText, archiveEnd);
    PageText = end < 0 ? ByteText() : PageText.left(end + 1);
    if (PageText.size() < 100)
        return;

    const qsizetype last = PageText.size() - 24;
    for (qsizetype i = PageText.indexOf(dayLink); i >= 0 && i <= last;
         i = PageText.indexOf(dayLink, i + 1)) {
        const qsizetype numberAt = i + dayLink.size();
        if (PageText[numberAt] < '0' || PageText[numberAt] > '9')
            continue;
        if (scan.ArchiveCount >= LinkScan::ArchiveCapacity)
            break;
        const ByteText number = CopyUntil(PageText, numberAt, "/");
        // Past the "/", the closing quote and ">": the day of the month.
        const qsizetype dayAt = numberAt + number.size() + 3;
        const ByteText day = CopyUntil(PageText, dayAt, "<");
        const ByteText month = monthBefore(PageText, dayAt + day.size());
        scan.ArchiveNumbers.append(number);
        scan.ArchiveDates.append(day + "." + month + "." + year);
        ++scan.ArchiveCount;
    }
}

ByteText FindNewspaperDate(const ByteText& PageText) {
    // The page stays where it is: nothing here touches the clipboard.
    qsizetype at = Find(PageText, "<div id=\"date");
    if (at < 0)
        return "not found";
    return CopyUntil(PageText, at + 20, "<");
}

ByteText DateToNumeric(const ByteText& date) {
    const auto& months = bytesOf(GenitiveMonths);
    ByteText numeric;
    int separators = 0;
    const qsizetype n = date.size();
    for (qsizetype i = 0; i < n; ++i) {
        const bool separator = date[i] == ' ' || date.mid(i, 5) == "&nbsp";
        if (!separator) {
            if (separators == 0 || separators == 2)
                numeric += date[i];
            continue;
        }
        if (++separators != 1)
            continue;
        // Past the day: the month by its name anywhere in the text, then the
        // last four characters, the year.
        for (size_t m = 0; m < months.size(); ++m) {
            if (date.contains(months[m]))
                numeric += GenitiveMonths[m].code;
        }
        separators = 2;
        // Never backwards, so a short text is not read twice.
        const qsizetype next = qMax(i + 1, n - 4);
        i = next - 1;
    }
    return numeric;
}
