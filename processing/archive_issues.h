#pragma once
// The issues the program keeps in its archive folder Download: the
// subfolders that hold the index.htm the issue index builder wrote (its date
// heading and its end mark with the build date), with what that index says
// of the issue. The e-book of an issue, its catalogue entry and the
// retirement of old issues all start from here; a folder without such an
// index is none of the program's and is left alone.

#include "settings/bytetext.h"

#include <QDate>
#include <QList>
#include <QString>
#include <cstdint>
#include <optional>

// One entry of the index's list of pages, in the list's order.
struct IndexedPage {
    int number = 0;       // N of "pageN.html"
    ByteText title;       // the entry's link text (HTML)
    ByteText liveAddress; // a page not saved: its address on the site; else empty
};

struct ArchivedIssue {
    QString folder;     // full path, no trailing "/"
    QString name;       // the folder's own name
    int16_t source = 1; // 1 newspaper, 2 magazine (name ending in ".KT")
    ByteText dateText;  // the date as the heading prints it
    ByteText number;    // the issue number of the heading
    QDate issueDate;    // the heading's date; invalid when unreadable
    QDate builtOn;      // the index's build date (end mark); invalid when unreadable
    QList<IndexedPage> pages;
};

// The issue in folder, when folder (not a symbolic link) holds the
// program's index.htm.
std::optional<ArchivedIssue> ReadArchivedIssue(const QString& folder);

// Every issue folder directly under downloadFolder, newest issue date first
// (then the higher number); issues whose date cannot be read come last.
QList<ArchivedIssue> ListArchivedIssues(const QString& downloadFolder);

// Whether a comes before b in the newest-first order.
bool NewerIssue(const ArchivedIssue& a, const ArchivedIssue& b);

// The issue's cover picture: the magazine's img/cover.jpg (or cover.bmp),
// the newspaper's logo img/t-01.gif; empty text when the file is missing.
QString IssueCoverFile(const ArchivedIssue& issue);

// The e-book of an issue: "<issue folder>.epub" beside the folder.
QString EpubPathOf(const QString& issueFolder);

// Whether path, with every symbolic link resolved, is folder or lies inside
// it. False when either does not exist.
bool InsideFolder(const QString& path, const QString& folder);
// Whether a and b, links resolved, are the same existing folder.
bool SameFolder(const QString& a, const QString& b);

// The heading's date ("7 декабря 2005") as a date, or an invalid one.
QDate HeadingDate(const ByteText& dateText);

// The publication's name, the issue's title ("Ведомир № 23613 от 7 декабря
// 2005") and a stable identifier made of source code and number
// ("urn:norvel:kp:23613").
QString PublicationName(int16_t source);
QString IssueTitle(const ArchivedIssue& issue);
QString IssueIdentifier(const ArchivedIssue& issue);
