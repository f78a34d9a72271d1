#pragma once
// Whether an issue is already in the archive: the selection window reads the
// issue number back out of every issue folder's index page, whose date line
// ends with " (" + number + ")</div>" and holds the first ")</div>" of the
// file.

#include "settings/bytetext.h"

#include <QString>
#include <optional>

// The issue number an issue index names: the text between the first
// ")</div>" and the nearest "(" before it; nothing when either is missing.
std::optional<ByteText> IssueNumberOfIndex(const ByteText& index);

// Looks through the subfolders of programFolder + "/Download" in name order
// (creating the archive folder when missing) and tells whether the index of
// one of them names exactly this number (case-sensitive, no trimming).
// Folders without a readable index, or whose index has no date line, are
// skipped and the scan goes on with the next one.
bool CheckInArchive(const QString& programFolder, const ByteText& number);
