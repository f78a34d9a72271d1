#pragma once
// Issue folders made by hand for the e-reader tests: the index.htm the issue
// index builder writes (heading, list of pages, end mark), pages in
// Windows-1251, pictures, e-books beside the folders.

#include "settings/bytetext.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

struct PageEntry {
    int number = 0;
    ByteText title;       // UTF-8 text, written as Windows-1251
    ByteText liveAddress; // set: the page was not saved
};

// The index page of an issue: its heading "D месяца YYYY (number)", one list
// line per entry, the end mark with builtOn.
ByteText IssueIndexPage(const QDate& issueDate, const ByteText& number,
                        const QList<PageEntry>& entries, const QDate& builtOn);

// A page of the issue with body (UTF-8 text) converted to Windows-1251.
ByteText IssuePage(const char* title, const char* body);

// Writes bytes to folder/relative, creating the folders on the way.
void WriteFile(const QString& folder, const QString& relative, const QByteArray& bytes);

// An issue folder downloadFolder/name with an index page listing pages 1 to
// pageCount, each saved, and an e-book file beside it when withBook.
void MakeIssueFolder(const QString& downloadFolder, const QString& name, const QDate& issueDate,
                     const ByteText& number, int pageCount = 1,
                     const QDate& builtOn = QDate(2026, 1, 10), bool withBook = false);

// Small real pictures.
QByteArray GifPicture();
QByteArray PngPicture();
QByteArray BmpPicture();

// An archive of count newspaper issues (magazine issues when magazine, one
// a week), one issue a day (perDay a day when set) going back from newest,
// each with pageCount pages and the logo. The pages and pictures are hard
// links to one set of files beside the download folder, so thousands of
// issues take little room; each issue has an index page of its own.
// Returns the folder names, newest first.
QStringList MakeGeneratedArchive(const QString& downloadFolder, int count, const QDate& newest,
                                 int perDay = 1, bool magazine = false, int pageCount = 3);
