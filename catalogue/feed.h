#pragma once
// What the archive's catalogue shows: OPDS 1.2 feeds (Atom) for e-readers,
// navigation feeds that lead to acquisition feeds of issues, newest first,
// each with the book's link, the cover and the issue's own index page; a
// plain HTML page for a browser; the OpenSearch description that finds an
// issue by date or number. Links are paths from the server's root, read
// against the feed's address.

#include "processing/archive_issues.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>

struct CatalogueEntry {
    ArchivedIssue issue; // its list of pages left empty: savedPages counts them
    int savedPages = 0;
    QDateTime changed;     // the newest of the issue's and its book's times, to the second
    QByteArray coverType;  // the media type the cover is served as; empty: no cover
    bool complete = false; // the download of the issue finished with every page
    bool hasBook = false;  // else the book is made when it is first asked for
};

// Entries as feeds take them: pointers into the index, which stay good
// while one request is answered; thousands are never copied.
using CatalogueEntries = QList<const CatalogueEntry*>;

// The type a cover file is served as: its own when readers show it (JPEG,
// PNG, GIF), else PNG, to which it is converted.
QByteArray CoverMediaType(const QString& coverFile);

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
inline constexpr char NavigationFeedType[] =
    "application/atom+xml;profile=opds-catalog;kind=navigation";

// When the newest of entries last changed: the feed's own time, so that a
// feed read twice without a change between is the same.
QDateTime NewestChange(const CatalogueEntries& entries);

// What names a feed and where it stands: self and up are paths (up empty
// at the root); the paging links are set when the feed has more than one
// page.
struct FeedHead {
    QByteArray id;
    QString title;
    QDateTime updated;
    QByteArray self;
    QByteArray up;
    QByteArray first, previous, next, last;
};

// A page of an issue that a text search found, linked from the issue's
// entry.
struct MatchedPage {
    QString file; // the page's file name in the issue folder
    QString title;
};
using MatchedPages = QHash<const CatalogueEntry*, QList<MatchedPage>>;

// A feed of issues; an issue in pages also links its pages found there.
QByteArray AcquisitionFeed(const FeedHead& head, const CatalogueEntries& entries,
                           const MatchedPages& pages = {});

// One way on from a navigation feed.
struct FeedWay {
    QString title;
    QString content; // what lies behind it ("365 номеров")
    QByteArray href;
    QByteArray type = NavigationFeedType; // of the feed it leads to
    QByteArray rel = "subsection";
    QDateTime updated;
};
QByteArray NavigationFeed(const FeedHead& head, const QList<FeedWay>& entries);
// The OpenSearch description of the search; root is "http://host:port"
// when the request named its host, so readers that want a whole address
// in the template get one.
QByteArray SearchDescription(const QByteArray& root);
// The newest issues for a browser; total: how many the catalogue offers,
// leftOut: issues of the archive it does not (unfinished, without a book).
QByteArray CataloguePage(const CatalogueEntries& newest, int total, int leftOut);

// time without its milliseconds, in UTC: the precision of HTTP's dates.
QDateTime WholeSeconds(const QDateTime& time);

// A folder name as one path segment of a link.
QByteArray PathSegment(const QString& name);
