#pragma once
// The magazine's own steps: the issue list and covers of the main page, the
// table of contents with its announcement test and article scan, and the
// page and picture loops under "/print/offline". The order they run in,
// among the shared steps, is read in app/workflow.cpp.

#include "app/download_run.h"
#include "app/step_outcome.h"

// After LoadMainPage: the issue list of the archive's main page and every
// issue's cover in the temp folder, for the selection window.
StepOutcome MagazineMainPage(DownloadRun& run);
// The chosen issue's table of contents: its articles, their titles and
// annotations. An issue only announced, or with too few articles, is refused.
StepOutcome LoadMagazineContents(DownloadRun& run);
// Every article of the issue (LoadPages) in its print form.
StepOutcome LoadMagazinePages(DownloadRun& run);
// The pictures of the page in PageText, onto ImageList.
void CollectMagazineImageLinks(DownloadRun& run);
// Every picture of the issue (LoadPictures) from the magazine's archive.
StepOutcome LoadMagazineImages(DownloadRun& run);
