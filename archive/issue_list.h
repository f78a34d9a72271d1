#pragma once
// The issues of the program's own archive as the archive browser and the
// archive copier see them: the subfolders of the archive folder Download,
// taken in name order, and the files that tell how much of an issue is there.

#include "settings/program_folder.h"

#include <QString>
#include <QStringList>

// Every subfolder of the archive folder (the copier copies them all).
QStringList ListArchiveFolders(const QString& programFolder);

// The subfolders that hold an issue index "index.htm" (the browser's list).
QStringList ListArchiveIssues(const QString& programFolder);

// The files "page*.html" of an issue folder.
int CountPageFiles(const QString& issueFolder);

// The files of the issue's picture folder "img", or of the issue folder
// itself when it has none.
int CountImageFiles(const QString& issueFolder);
