#pragma once
// The issue folder of a download, and the taking up of an unfinished earlier
// download of the same issue there: the pages it saved (from the folder's
// page record) and the pictures it left on disk, so the download fetches
// only what is missing.

#include "app/download_run.h"
#include "app/step_outcome.h"

#include <QList>

// The issue folder of the download, created when missing; an unfinished
// earlier download there is taken up, any other record of one forgotten.
StepOutcome OpenIssueFolder(DownloadRun& run);

// Whether page n was saved by an earlier run of a resumed download.
bool PageSavedEarlier(const DownloadRun& run, int n, const ByteText& path);
// Takes page n from disk when the earlier run saved it: its pictures go on
// the list as if it had been fetched. False when it is to be fetched.
bool PageFromEarlierRun(DownloadRun& run, int n, const ByteText& path);
// Which pictures of ImageList a resumed download finds on disk and need not
// fetch again; none on a fresh download.
QList<bool> PicturesOnDisk(const DownloadRun& run);
