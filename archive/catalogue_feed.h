#pragma once
// What the archive's catalogue shows: an OPDS 1.2 acquisition feed (Atom)
// for e-readers and a plain HTML page for a browser, each listing the issues
// that have an e-book, newest first, with the book's link and the cover.
// Links are paths from the server's root, read against the feed's address.

#include "processing/archive_issues.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>

struct CatalogueEntry {
    ArchivedIssue issue;
    QDateTime bookChanged; // when the e-book was last written
    QByteArray coverType;  // the media type the cover is served as; empty: no cover
};

// The type a cover file is served as: its own when readers show it (JPEG,
// PNG, GIF), else PNG, to which it is converted.
QByteArray CoverMediaType(const QString& coverFile);

// The issues of downloadFolder that have an e-book, newest first.
QList<CatalogueEntry> CatalogueEntries(const QString& downloadFolder);

// Paths the catalogue answers, each with the issue folder's name after it.
inline constexpr char BookPath[] = "/epub/";
inline constexpr char CoverPath[] = "/cover/";
inline constexpr char ThumbnailPath[] = "/thumbnail/";
inline constexpr char FeedPath[] = "/opds";

// The catalogue vocabulary's namespace and the link relations of an entry:
// the book, its cover and the cover's thumbnail.
inline const QByteArray OpdsNamespace = "http://opds-spec.org/";
inline const QByteArray AcquisitionRel = OpdsNamespace + "acquisition";
inline const QByteArray ImageRel = OpdsNamespace + "image";
inline const QByteArray ThumbnailRel = OpdsNamespace + "image/thumbnail";

QByteArray OpdsFeed(const QList<CatalogueEntry>& entries, const QDateTime& now);
// withoutBook: issues of the archive that have no e-book yet.
QByteArray CataloguePage(const QList<CatalogueEntry>& entries, int withoutBook);

// A folder name as one path segment of a link.
QByteArray PathSegment(const QString& name);
