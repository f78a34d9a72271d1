#pragma once
// What the archive's catalogue shows: an OPDS 1.2 acquisition feed (Atom)
// for e-readers and a plain HTML page for a browser, each listing the issues
// that have an e-book, newest first, with the book's link, the cover and
// the issue's own index page, and the OpenSearch description that finds an
// issue by date or number. Links are paths from the server's root, read
// against the feed's address.

#include "processing/archive_issues.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>

struct CatalogueEntry {
    ArchivedIssue issue;
    QDateTime bookChanged; // when the e-book was last written, to the second
    QByteArray coverType;  // the media type the cover is served as; empty: no cover
    bool complete = false; // the download of the issue finished with every page
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
inline constexpr char IssuePath[] = "/issue/"; // then the name, "/" and a file
inline constexpr char FeedPath[] = "/opds";
inline constexpr char SearchPath[] = "/search"; // ?q=
inline constexpr char SearchDescriptionPath[] = "/opensearch.xml";
inline constexpr char LatestPath[] = "/latest/"; // then "kp.epub" or "kt.epub"

// The catalogue vocabulary's namespace and the link relations of an entry:
// the book, its cover and the cover's thumbnail.
inline const QByteArray OpdsNamespace = "http://opds-spec.org/";
inline const QByteArray AcquisitionRel = OpdsNamespace + "acquisition";
inline const QByteArray ImageRel = OpdsNamespace + "image";
inline const QByteArray ThumbnailRel = OpdsNamespace + "image/thumbnail";

inline constexpr char AcquisitionFeedType[] =
    "application/atom+xml;profile=opds-catalog;kind=acquisition";

// When the newest of entries last changed: the feed's own time, so that a
// feed read twice without a change between is the same.
QDateTime NewestChange(const QList<CatalogueEntry>& entries);

// A feed of entries; id and title name it, self is its own path.
QByteArray OpdsFeed(const QList<CatalogueEntry>& entries,
                    const QByteArray& id = "urn:norvel:catalogue",
                    const QString& title = QStringLiteral("Норвел: архив номеров"),
                    const QByteArray& self = FeedPath);
// The OpenSearch description of the search; root is "http://host:port"
// when the request named its host, so readers that want a whole address
// in the template get one.
QByteArray SearchDescription(const QByteArray& root);
// withoutBook: issues of the archive that have no e-book yet.
QByteArray CataloguePage(const QList<CatalogueEntry>& entries, int withoutBook);

// time without its milliseconds, in UTC: the precision of HTTP's dates.
QDateTime WholeSeconds(const QDateTime& time);

// A folder name as one path segment of a link.
QByteArray PathSegment(const QString& name);
