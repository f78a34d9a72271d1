#pragma once
// The main index of a folder of copied issues: index.htm listing every
// subfolder that holds an issue index, newspaper issues at the template's
// "<!!!--norvel2--!!!>" and magazine issues (folders ending in "KT") at
// "<!!!--norvel2KT--!!!>". The template is data/mainindex.dat.

#include "settings/bytetext.h"
#include "settings/messenger.h"

#include <QString>

enum class MainIndexResult {
    Written,     // index.htm replaced
    NoFolder,    // no folder given (reported)
    NoTemplate,  // data/mainindex.dat missing (reported)
    NoIssues,    // the folder has no subfolders (reported)
    WriteFailed, // the index could not be written (not reported here)
};

inline constexpr char MainIndexNewspaperMarker[] = "<!!!--norvel2--!!!>";
inline constexpr char MainIndexMagazineMarker[] = "<!!!--norvel2KT--!!!>";

// Subfolders are taken in name order. An issue whose index lacks the date
// heading, or whose heading has no "(", is listed as "date invalid" with the
// number "not found".
MainIndexResult BuildMainIndex(const QString& folder, const QString& programFolder,
                               Messenger& messenger);

// The date and number an issue index's heading holds.
struct IssueHeading {
    ByteText date = "date invalid";
    ByteText number = "not found";
};
IssueHeading ReadIssueHeading(const ByteText& issueIndex);
