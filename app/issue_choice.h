#pragma once
// Finding and choosing the issue, for the sources with a main page and a
// selection window: the site's main page, the selection window, and how the
// steps up to the issue's table of contents fail when the proxy refuses the
// login or the table of contents does not come. What a main page names is
// the source's own step (newspaper_download.h, magazine_download.h).

#include "app/download_run.h"
#include "app/step_outcome.h"

// The source's main page, remembered for the run with QuickDownload, in
// PageText; the status line says so when it did not come. Stopped by the
// user, or refused by the proxy, it ends the download.
StepOutcome LoadMainPage(DownloadRun& run);
// Whether LoadMainPage brought a page (PageText holds it).
bool MainPageArrived(const WorkflowState& st);

// The selection window over the issue lists of the last scan (only the
// issue number when byNumberOnly); on "Загрузка" the chosen issue is the
// download's. An unattended run whose newest issue is already archived ends
// here, reporting so; "Отмена" ends the download.
StepOutcome ChooseIssue(DownloadRun& run);

// The proxy refused the login: every later fetch would be refused too, and
// its error page is no site page, so the download ends here.
StepOutcome ProxyRefusal(DownloadRun& run);
// The issue's table of contents did not come: the download cannot go on.
StepOutcome ContentsFailure(DownloadRun& run);
