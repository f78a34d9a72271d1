#pragma once
// Whether an issue is already in the archive: the selection window reads the
// issue number back out of every issue folder's index page, whose date line
// ends with " (" + number + ")</div>" and holds the first ")</div>" of the
// file. Only a complete issue counts: one whose download was stopped,
// killed or left pages or pictures missing is downloaded again into its
// folder, which completes it.

#include "settings/bytetext.h"

#include <QString>
#include <optional>

// The issue number an issue index names: the text between the first
// ")</div>" and the nearest "(" before it; nothing when either is missing.
std::optional<ByteText> IssueNumberOfIndex(const ByteText& index);

// Whether the folder holds a complete issue: an index that tells of no
// missing page or picture.
bool IssueFolderComplete(const QString& folder);

// Looks through the subfolders of the archive folder in name order
// (creating the archive folder when missing) for the complete issue whose
// index names exactly this number (case-sensitive, no trimming) and returns
// its folder, or empty text. Folders without a readable index, or whose
// index has no date line, are skipped and the scan goes on with the next one.
QString ArchivedIssueFolder(const QString& programFolder, const ByteText& number);

// Whether ArchivedIssueFolder finds the issue.
bool CheckInArchive(const QString& programFolder, const ByteText& number);
