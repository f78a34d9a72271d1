#pragma once
// The version check at the start of a download, and the update it may lead
// to. The window is the view's; the rules are update/update_check.h.

#include "app/download_run.h"
#include "app/step_outcome.h"
#include "update/update_check.h"

// Asks the update server for a newer version. None, or no answer: done, the
// download goes on. A newer one: an unattended run reports it and goes on;
// otherwise the update window decides, "Отмена" going on and "Обновить"
// running DownloadUpdate. Anything else ends the run here (a stop, a refused
// proxy login, an update).
StepOutcome CheckNewVersion(DownloadRun& run);
// The new version's file fetched, checked, written and started; the program
// then ends. On failure the status says so and the window goes back to idle.
StepOutcome DownloadUpdate(DownloadRun& run, const UpdateInfo& info);
