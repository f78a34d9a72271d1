#pragma once
// The run log norvel.log in the program folder: one line per unattended run
// (and any notice another part of such a run adds), so a scheduled run can be
// checked afterwards. Lines are UTF-8, each starting with the local time; the
// log keeps only its newest lines.

#include <QString>
#include <QStringList>

// Lines the log keeps; older ones are dropped when a line is added.
inline constexpr int MaxRunLogLines = 1000;

// Fields joined by tabs into one log line, each made OneLine: a tab or line
// break inside a field (a server's text) never adds a field or a line.
QString RunLogFields(QStringList fields);

// programFolder + "/norvel.log".
QString RunLogPath(const QString& programFolder);

// Appends "YYYY-MM-DD HH:MM:SS<TAB>" + text, its tab-separated fields each
// made OneLine, and keeps the last keep lines. False when the log cannot be
// written.
bool AppendRunLog(const QString& programFolder, const QString& text, int keep = MaxRunLogLines);
