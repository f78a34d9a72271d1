#pragma once
// The issue's indexes: its index page (index.htm and its companions,
// processing/issue_index.h), written once the pages are in and again when
// the pictures complete the issue, and the search index, which learns the
// pages on a thread of its own while the pictures arrive.

#include "app/download_run.h"
#include "app/step_outcome.h"

// Whether pictures follow the pages: DownloadImages, and the pages named some.
bool PicturesFollow(const DownloadRun& run);

// The step after the pages: the issue index, saying the issue is complete
// only when no page failed and no picture is to come; with pictures to
// come, the search indexing of the pages begins aside.
StepOutcome IndexIssue(DownloadRun& run);
// The issue index of the pages in, complete or not; a file that cannot be
// written ends the download.
StepOutcome WriteIndex(DownloadRun& run, bool complete);

// The issue's pages in the search index: the indexing begun aside waited
// for (the window answering meanwhile), or done now. What goes wrong with
// it is shown in the status line and the download goes on.
void IndexForSearch(DownloadRun& run);
