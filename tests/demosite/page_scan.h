#pragma once
// The page patterns the program's scanners rely on, read the way they read
// them (fixed offsets from exact matches), so the tests check the demo pages
// against those readings rather than against the generator's own code.

#include "settings/bytetext.h"

#include <QList>

struct HeadingLink {
    ByteText path;
    ByteText title;
};
// Every "<h3><a href=" anchor: the path up to the character two before ">",
// and the text after ">" up to the next "<".
QList<HeadingLink> headingLinks(const ByteText& page);
// The number after "daily/", up to the next "/".
ByteText issueNumberFromLink(const ByteText& link);
// The first group of three heading links (1-3, 4-6, ...) naming one issue,
// not counting a group that ends on the last link.
ByteText newestIssue(const QList<HeadingLink>& links);
// "src=\"" + prefix sources up to the closing quote.
QList<ByteText> sources(const ByteText& page, const ByteText& prefix);

struct ArchiveEntry {
    ByteText number;
    ByteText date; // day.month.year
};
QList<ArchiveEntry> newspaperArchive(ByteText page);
// The text at "<div id=\"date" + 20 up to the next "<", or "not found".
ByteText newspaperDate(const ByteText& page);

struct MagazineBlock {
    ByteText path;
    ByteText cover;
    ByteText number;
    ByteText date;
};
// The issue blocks after the archive heading; empty when a block misses a field.
QList<MagazineBlock> magazineBlocks(const ByteText& page, const ByteText& mainHost);

struct MagazineArticle {
    ByteText path; // relative to the issue
    ByteText title;
    ByteText annotation;
};
// The article links from "Тема номера" on.
QList<MagazineArticle> magazineArticles(const ByteText& page, const ByteText& issuePath);
