#pragma once
// The page loop every kind of periodical shares: each page of the issue
// fetched (several ahead of the loop with more than one connection, or
// taken from disk when an unfinished earlier download saved it), judged,
// its pictures collected, rewritten by the processing script, linked to its
// neighbours and written into the issue folder (app/issue_resume.h opens
// it). What differs by source comes in a PageSource.

#include "app/download_run.h"
#include "app/step_outcome.h"

#include <functional>

struct PageSource {
    // Page n's site path (n from 1 to PageCount), asked once per page
    // before the first fetch.
    std::function<ByteText(int n)> path;
    // Puts the pictures the page in PageText names onto ImageList.
    std::function<void(DownloadRun& run)> collectPictures;
    // The source's own change to a page after the script's rewrite; none
    // when empty.
    std::function<void(ByteText& page)> touchUp;
};

// Every page of the issue, PageCount of them. A failed page is left out
// (complete turns false) when IgnoreErrors lets the download go on, and
// ends it otherwise; a page that cannot be written ends it as well.
StepOutcome LoadPages(DownloadRun& run, const PageSource& source);
