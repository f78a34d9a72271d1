#pragma once
// How the last download ended, kept by the workflow for whoever reports it
// (the summary line and run log of an unattended run).

#include "settings/bytetext.h"

#include <QList>
#include <QString>
#include <QStringList>

enum class DownloadEnd {
    Failed,          // ended on an error (the status line says which) or never got going
    Complete,        // every page and picture is on disk
    Incomplete,      // finished, but pages or pictures are missing
    Stopped,         // the user stopped it
    AlreadyArchived, // unattended: the newest issue is complete in the archive
};

struct DownloadReport {
    DownloadEnd end = DownloadEnd::Failed;
    int pagesSaved = 0;
    bool picturesFetched = false; // the picture loop ran
    int picturesSaved = 0;        // fetched, or found on disk from an earlier run
    QList<ByteText> failedPaths;  // site paths of the pages and pictures that failed
    bool copyFailed = false;      // the copy-out to FolderToCopy did not succeed
    QString archivedFolder;       // AlreadyArchived: the folder
    QStringList notices;          // what the run found worth saying besides (a newer version)
    QStringList reasons; // why connections failed (refused certificate, proxy down), once each
};
