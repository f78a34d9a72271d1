#pragma once
// What follows a finished download for readers of the archive: the issue's
// e-book beside its folder (setting MakeEpub) and the retirement of older
// issues of the same source (KeepIssues, KeepDays), after which the main
// index is rebuilt where the program keeps one in the download folder (the
// copy folder FolderToCopy being the download folder itself). Failures are
// reported through the messenger and stop nothing else.

#include "app/global.h"
#include "settings/messenger.h"

#include <QDate>
#include <QString>
#include <functional>

struct UpkeepResult {
    bool bookWritten = false;
    QStringList retired; // issue folders deleted
};

// Makes the e-book of an issue folder beside it, tells the user through the
// messenger when it could not, and says whether it was written. The program
// with the book tools passes MakeIssueBook (ebook/issue_book.h); the one
// without them leaves it empty and hands runs that make books over.
using BookMaker =
    std::function<bool(const QString& issueFolder, const Sites& sites, Messenger& messenger)>;

UpkeepResult ArchiveUpkeep(const AppState& app, Messenger& messenger, const BookMaker& makeBook,
                           const std::function<void(const QString&)>& setStatus = {},
                           const QDate& today = QDate::currentDate());
