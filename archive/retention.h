#pragma once
// The retirement of old issues after a download (settings KeepIssues and
// KeepDays). Only issue folders of the program's archive are touched: the
// folders directly inside the download folder that hold the program's
// index.htm under a name the program gives an issue folder (its number or
// date, ".KT" for the magazine), no symbolic links, nothing outside. A folder goes with its
// e-book beside it. The issue just downloaded always stays.

#include <QDate>
#include <QString>
#include <QStringList>
#include <cstdint>

struct RetentionRule {
    int keepIssues = 0; // the newest N issues of the source stay; 0 keeps all
    int keepDays = 0;   // an issue stays N days after its download; 0 for ever
};

struct RetentionResult {
    QStringList deleted; // folder names
    QStringList failed;  // folder names that could not be deleted (whole or in part)
};

// Retires the issues of source (1 newspaper, 2 magazine) in downloadFolder
// beyond the rule. Newest means the latest issue date; an issue whose date
// cannot be read is neither counted nor deleted. The download date is the
// build date of the issue's index.
RetentionResult RetireOldIssues(const QString& downloadFolder, int16_t source,
                                const RetentionRule& rule, const QString& justDownloaded,
                                const QDate& today);

// Deletes an issue folder of downloadFolder and its e-book, the index page
// last, so a folder whose deletion failed half-way is still known as an
// issue and retried next time. Symbolic links inside are removed, never
// followed. False when anything stayed, or when folder is no issue folder
// directly inside downloadFolder.
bool DeleteIssueFolder(const QString& folder, const QString& downloadFolder);
