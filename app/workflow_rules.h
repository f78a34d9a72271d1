#pragma once
// The download's rules that need no site, window or state: the newest issue
// of the newspaper's main page, the links between neighbouring pages, the
// articles of a magazine table of contents, and how an issue file is written.

#include "processing/find_links.h"
#include "settings/bytetext.h"

#include <QList>
#include <QString>

// The newest issue named by a main page's heading links (FindNewspaperLinks
// with headings on), or empty text.
ByteText NewestIssueOfHeadings(const LinkScan& headings);

// Puts the links to page n - 1 and n + 1 of count in place of the first
// "%prevpage%" and "%nextpage%"; the first page loses "%prevpage%", the last
// "%nextpage%".
void LinkNeighbours(ByteText& page, int n, int count);

// The article links of a magazine table of contents: every occurrence of
// the issue's path from "Тема номера" on, with the path after it up to the
// next double quote, the title up to "</a>" and the annotation up to "<br>".
struct MagazineArticles {
    QList<ByteText> paths, titles, annotations;
};
MagazineArticles ScanMagazineArticles(const ByteText& contents, qsizetype theme,
                                      const ByteText& issuePath, int capacity);

// Replaces path with bytes, never leaving half a file under its name;
// false when the write failed (the old file, if any, stays).
bool WriteIssueFile(const QString& path, const ByteText& bytes);
