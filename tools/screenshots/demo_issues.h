#pragma once
// Demo issues in a program folder, downloaded the way a user gets them: a
// demo site on loopback named in the folder's sites.ini, then the program
// itself run unattended (norvel2 -kp, norvel2 -kt) with the folder as its
// NORVEL_HOME.

#include <QString>

// Downloads the newest newspaper and magazine issue into programFolder's
// archive; why not, or empty text when both are there.
QString DownloadDemoIssues(const QString& programFolder);
