#pragma once
// The picture loop every kind of periodical shares: each picture the pages
// named, fetched from the source's host (several at a time with more than
// one connection; on a fresh download already planned by the page loop)
// and written into the issue folder's img/, unless a resumed download
// finds it there. The issue index is then written again when it may now
// call the issue complete.

#include "app/download_run.h"
#include "app/step_outcome.h"

// Nothing without DownloadImages. A picture that fails leaves the loop for
// the finish unless IgnoreErrors lets it go on (reportError puts "Ошибка при
// загрузке" in the status line first); so does a stop. Only a file that
// cannot be written ends the download.
StepOutcome LoadPictures(DownloadRun& run, const ByteText& host, bool reportError);
