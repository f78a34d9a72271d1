#pragma once
// How an unattended run (-kp, -kt) says the way it ended: one Russian summary
// line on standard output, one line in the run log and the exit status a
// scheduler can test.

#include "app/download_report.h"
#include "app/global.h"

#include <QString>
#include <QStringList>

// Exit statuses of an unattended run.
inline constexpr int ExitComplete = 0;   // complete, or already complete in the archive
inline constexpr int ExitFailed = 1;     // failed, stopped or incomplete
inline constexpr int ExitNotStarted = 2; // could not start (second copy, data, folder, switch)

struct UnattendedEnd {
    int exitStatus = ExitFailed;
    QString summary; // for standard output
    QString logLine; // for the run log: tab-separated fields
};

// "Ведомир (kp)" or "Зенитра (kt)".
QString SourceTitle(int16_t source);

// The end of a download the run started. status is the status line at its
// end; messages are the messages of the run ("<title>: <text>").
UnattendedEnd DescribeDownloadEnd(const DownloadReport& report, const WorkflowState& st,
                                  const QString& status, const QStringList& messages);

// A run that could not start a download, for the reason given.
UnattendedEnd DescribeStartFailure(int16_t source, const QString& reason);

// Writes the summary to standard output (and, for a download that failed or
// is incomplete, after "norvel2: " to standard error too) and the log line
// to the run log of programFolder (when it can); returns the exit status.
int Conclude(const UnattendedEnd& end, const QString& programFolder);
