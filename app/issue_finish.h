#pragma once
// The last step of every kind of periodical, reached once every page was
// attempted and the pictures are done with: the page record dropped when
// the issue is complete, the search index, the copy-out to FolderToCopy,
// then (unless the user stopped the download meanwhile) the e-book and the
// retirement of old issues, the cache cleared, the hang-up, "Номер
// загружен" and the desktop told. The report then says how it ended.

#include "app/download_run.h"
#include "app/step_outcome.h"

StepOutcome FinishIssue(DownloadRun& run);
