#include "app/workflow_rules.h"

#include "processing/cut_replace.h"
#include "settings/whole_file.h"

#include <algorithm>

// The first group of three heading links (1-3, 4-6, ...) that carry one and
// the same number names the newest issue; a group ending on the last link
// is never examined.
ByteText NewestIssueOfHeadings(const LinkScan& headings) {
    for (int start = 1; start <= headings.LinkCount - 3; start += 3) {
        const ByteText first = IssueNumberFromLink(headings.LinkList.at(start - 1));
        if (!first.isEmpty() && IssueNumberFromLink(headings.LinkList.at(start)) == first &&
            IssueNumberFromLink(headings.LinkList.at(start + 1)) == first)
            return first;
    }
    return {};
}

void LinkNeighbours(ByteText& page, int n, int count) {
    if (n == 1)
        CutBetween(page, "%prev", "page%");
    else
        ReplaceFirst(page, "%prevpage%",
                     "<td class=\"text\"><div align=\"left\"><a href=\"page" +
                         ByteText::number(n - 1) + ".html\">" + W("&lt;&lt;предыдущая ::") +
                         "</a></div>");
    if (n < count)
        ReplaceFirst(page, "%nextpage%",
                     "<td class=\"text\"><div align=\"right\"><a href=\"page" +
                         ByteText::number(n + 1) + ".html\">" + W(":: следующая&gt;&gt;") +
                         "</a></div>");
    else
        CutBetween(page, "%next", "page%");
}

MagazineArticles ScanMagazineArticles(const ByteText& text, qsizetype theme,
                                      const ByteText& issuePath, int capacity) {
    MagazineArticles found;
    const qsizetype length = text.size();
    qsizetype p = theme;
    while (p >= 0 && p < length && !issuePath.isEmpty() && found.paths.size() < capacity) {
        if (text.mid(p, issuePath.size()) != issuePath) {
            ++p;
            continue;
        }
        const qsizetype pathStart = p + issuePath.size();
        qsizetype quote = text.indexOf('"', pathStart + 1);
        if (quote < 0)
            quote = length;
        const qsizetype titleStart = quote + 1;
        const qsizetype anchorEnd = text.indexOf("</a>", titleStart);
        const qsizetype titleEnd = anchorEnd < 0 ? length : anchorEnd + 1;
        const qsizetype noteStart = anchorEnd < 0 ? length : anchorEnd + 4;
        qsizetype lineEnd = text.indexOf("<br>", noteStart + 1);
        if (lineEnd < 0)
            lineEnd = length;
        ByteText title = text.mid(titleStart, titleEnd - titleStart);
        ByteText note = text.mid(noteStart, lineEnd - noteStart);
        found.paths.append(text.mid(pathStart, quote - pathStart));
        found.titles.append(TitleToPlainText(title));
        found.annotations.append(TitleToPlainText(note));
        p = std::max(lineEnd, p + 1);
    }
    return found;
}

// Pages and pictures do not wait for the disk: a download writes hundreds of
// them, and a file lost to a power cut is fetched again.
bool WriteIssueFile(const QString& path, const ByteText& bytes) {
    return WriteWholeFile(path, bytes, FileSync::NoWait);
}
