#pragma once
// The newspaper's own steps: the newest issue and the archive list from the
// main page, the table of contents, and the page and picture loops over the
// newspaper's paths. The order they run in, among the shared steps, is
// read in app/workflow.cpp.

#include "app/download_run.h"
#include "app/step_outcome.h"

// After LoadMainPage: the newest issue named by the main page and the list
// of other issues from the archive page, for the selection window; when
// the main page did not come or names no issue in an unattended run, the
// question whether to load an issue by its number instead.
StepOutcome NewspaperMainPage(DownloadRun& run);
// The chosen issue's table of contents: its pages, their titles and the
// issue date.
StepOutcome LoadFirstPage(DownloadRun& run);
// Every page of the issue (LoadPages), with the date in place of the logo.
StepOutcome LoadAllPage(DownloadRun& run);
// The pictures of the page in PageText, onto ImageList.
void CollectImageLinks(DownloadRun& run);
// Every picture of the issue (LoadPictures) from the newspaper's site.
StepOutcome LoadAllImages(DownloadRun& run);
