#pragma once
// An issue that has just been downloaded, as the workflow tells the desktop
// about it (DownloadView::IssueArrived, DesktopNotifier).

#include <QString>
#include <cstdint>

struct ArrivedIssue {
    int16_t source = 1; // 1 newspaper, 2 magazine
    QString date;       // as the site prints it
    QString number;
    QString folder;          // the issue folder
    bool complete = true;    // every page arrived
    bool unattended = false; // the program ends right after
};
