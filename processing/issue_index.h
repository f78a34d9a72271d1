#pragma once
// The start page of one issue, index.htm in the issue folder: the template
// of the source (data/index.dat for the newspaper, data/indexct.dat for the
// magazine) with its markers filled — the heading (date and number), the
// incomplete-issue block switched on when pages are missing, the program's
// footer sentence, the list of pages linking saved pages and, for missing
// ones, the live site — and the build date as an end mark. The companion
// files the templates refer to are placed beside it: kp.css, and in img/
// t-01.gif and t-02.gif (newspaper) or ktlogo.gif and the cover (magazine).

#include "settings/bytetext.h"
#include "settings/sites.h"

#include <QDate>
#include <QList>
#include <QString>
#include <cstdint>

// What the download workflow knows of the issue. Entry N of a list (N from
// 1) is element N - 1.
struct IssueIndexInput {
    int16_t CurrentSource = 1; // 1 newspaper, 2 magazine
    ByteText IssueDate;        // as the site prints it
    ByteText IssueNumber;
    int16_t PageCount = 0;
    QString IssueFolder;            // full path, no trailing "/"
    QList<ByteText> PagePaths;      // each page's path on its site
    QList<ByteText> PageTitles;     // newspaper: titles; magazine: annotations
    QList<ByteText> MagazineTitles; // magazine: titles
    QString TempFolder;             // magazine: where the covers were saved
    QList<ByteText> CoverFiles;     // magazine: cover file name of each issue
    int16_t SelectedIssue = 0;      // magazine: the chosen issue, from 1
};

struct IssueIndexResult {
    // index.htm replaced and every companion file in place; false when the
    // template was unreadable or a write failed (failedPath names the first).
    bool written = false;
    QString failedPath;
    ByteText page; // the finished index (the workflow's page text afterwards)
};

// Builds and writes the index of the issue. complete is false when a page
// or picture failed or the download ended early (or has not fetched its
// pictures yet); such an index shows the template's incomplete-issue block
// and carries IndexIncompleteMark just before the date mark that ends every
// index (an index written with the mark after the date reads as incomplete
// too). It shows no message: a failed write is the caller's to report, by
// the result. A template without the list marker
// gets the list at its end, so no page goes unlisted. The magazine's cover
// is the temp folder's file of the chosen issue copied as img/cover.jpg; when
// there is none, stockCover (a BMP file's bytes) is saved as img/cover.bmp
// and the index names that instead.
IssueIndexResult BuildIssueIndex(bool complete, const IssueIndexInput& issue,
                                 const QString& programFolder, const Sites& sites,
                                 const ByteText& stockCover, const QDate& buildDate);
IssueIndexResult BuildIssueIndex(bool complete, const IssueIndexInput& issue,
                                 const QString& programFolder, const Sites& sites);

// A small placeholder cover for an issue whose cover could not be fetched:
// a 96 x 128 BMP file, drawn here, so that neither a resource nor a picture
// library is needed to write it.
ByteText StockCoverBitmap();

// The markers of the templates.
inline constexpr char IndexHeadingMarker[] = "NumberDate";
inline constexpr char IndexListMarker[] = "<!!!CodeNorvel2!!!>";
inline constexpr char IndexFooterEnd[] = "></b></div></td></table>";
inline constexpr char IndexEndMark[] = "<!!!-!!!";
inline constexpr char IndexIncompleteMark[] = "<!!!-incomplete-!!!>";

// Whether an issue index tells of a complete issue: it has no incomplete
// mark and links no page to the live site (indexes written before the mark
// existed say so only by such links).
bool IssueIndexComplete(const ByteText& index);
