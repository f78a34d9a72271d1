#pragma once
// Issue folders: one per issue under the archive folder Download of the
// program folder, named by the FolderFormat setting (".KT" appended for the
// magazine), and the copy-out of a finished issue into FolderToCopy with the
// main index of that folder rebuilt.

#include "settings/bytetext.h"
#include "settings/messenger.h"
#include "settings/settings.h"

#include <QString>
#include <cstdint>
#include <functional>

// The name of the issue's folder: the number (1), DD.MM.YYYY (2) or
// YYYY.MM.DD (3), made safe as a file name, with ".KT" for the magazine
// (CurrentSource 2). Any other format gives an empty name: the issue goes
// into the archive folder itself.
QString IssueFolderName(int16_t FolderFormat, const ByteText& IssueNumber,
                        const ByteText& IssueDateNumeric, int16_t CurrentSource);

// The full path of the issue folder (IssueFolder), creating the archive
// folder and the issue folder when missing. An existing folder is never
// emptied: a second download overwrites files of the same name.
QString CreateFolder(const QString& programFolder, int16_t FolderFormat,
                     const ByteText& IssueNumber, const ByteText& IssueDateNumeric,
                     int16_t CurrentSource);

// Copies the issue folder into settings.FolderToCopy (emptied first with
// ClearFolderToCopy; into a subfolder of the issue folder's name with
// CreateSubFolders, else its files and img/ straight into the target) and
// rebuilds the main index there. Reports a missing target or a failed
// delete, copy or index write through messenger; true when all went well.
// setStatus receives the status line text.
bool NumberCopy(const QString& IssueFolder, const Settings& settings, const QString& programFolder,
                Messenger& messenger, const std::function<void(const QString&)>& setStatus = {});

// Whether path is folder or lies inside it (both resolved, links followed);
// false when either does not exist.
bool IsSameOrInside(const QString& path, const QString& folder);

// The copy-out's messages, under the title "Копирование" with the error
// icon: the target folder is missing; a delete, copy or index write failed.
extern const QString CopyTitle;
QString TargetMissingText(const QString& target);
QString CopyFailedText(const QString& target);

// Copies the folder from with everything in it into to, creating to and
// merging with what is there, files of the same name replaced. A folder
// copied onto itself is left as it is. False on the first failure; what
// was copied until then stays.
bool CopyFolder(const QString& from, const QString& to);
