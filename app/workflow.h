#pragma once
// The download of one issue, newspaper (source 1) or magazine (source 2),
// from the site's main page to "Номер загружен": the newest issue and the
// list of others, the selection window, the table of contents, every page
// in its print form rewritten by the processing script and linked to its
// neighbours, the issue index, the images, and the finish (copy-out, stop
// report, e-book and old issues retired, cache clearing, hang-up). An issue
// folder holding an unfinished download of the same issue is completed, not
// started afresh. report() tells how the download ended.
//
// One thread: every fetch waits in the download control's nested event
// loop, so "Стоп" reaches the loops through Downloading, which they test at
// the top of each page and image step; only the search index of the issue's
// pages is written on a thread of its own, while the pictures arrive. The
// state lives in the AppState the program owns and in the DownloadRun its
// steps share (app/download_run.h); the user is reached only through
// Messenger and DownloadView.
//
// A download is a list of steps, each a function that returns its
// StepOutcome (app/step_outcome.h) instead of calling the next: the order
// of each source's download is read in its list in workflow.cpp, which also
// holds the driver that runs a list and ends the download as the outcome
// of its last step says. The steps live by what they do:
//   update_step.h         the version check and the update it may lead to;
//   issue_choice.h        the main page and the selection window;
//   newspaper_download.h  the newspaper's own steps;
//   magazine_download.h   the magazine's own steps;
//   issue_resume.h        the issue folder, an unfinished download taken up;
//   issue_pages.h         the page loop, shared;
//   issue_indexes.h       the issue index and the search index;
//   issue_pictures.h      the picture loop, shared;
//   issue_finish.h        the finish.
// workflow_text.h holds the texts they show, workflow_rules.h the rules
// that need no site or window.

#include "app/archive_upkeep.h"
#include "app/download_report.h"
#include "app/download_run.h"
#include "app/download_view.h"
#include "app/global.h"
#include "app/step_outcome.h"
#include "app/workflow_rules.h"
#include "app/workflow_text.h"
#include "processing/find_links.h"
#include "settings/messenger.h"

#include <QObject>
#include <span>

class Download_Control;
class Hang_Up;

// One step of a download.
using DownloadStep = StepOutcome (*)(DownloadRun& run);

class IssueDownload {
public:
    IssueDownload(AppState& app, Download_Control& DC, Messenger& messenger, DownloadView& view,
                  Hang_Up& hangUp);

    // The start of a download once the window is in its downloading state:
    // PrepareStart, then the steps of the current source, from the version
    // check on. Returns when the download has ended, whichever way;
    // report() then says how.
    void Start();
    // The proxy settings handed to the download control (off as well as
    // on), the date picked for an earlier download forgotten, the report
    // emptied and the selection a whole one again.
    void PrepareStart();
    // The driver: runs steps in order, each only when the one before it
    // is done, then ends the download as the last outcome says (a failure
    // puts its reason in the status line, returns the window to idle and
    // runs its follow-up). Start runs the current source's list through it.
    void RunSteps(std::span<const DownloadStep> steps);

    // Makes the e-book after a download when MakeEpub asks for one; none
    // in the program without the book tools.
    BookMaker makeBook;

    // The issue lists of the last scan (read by the selection windows).
    const LinkScan& scan() const { return run_.scan; }
    // How the last download ended.
    const DownloadReport& report() const { return run_.report; }

private:
    void end(const StepOutcome& outcome);

    DownloadRun run_;
    QObject receiver_; // the end of the download control's connections to this download
};

// Whether a fetch brought the resource: a response with a 2xx status. An
// error answer (a redirect, a server error, no status line), "error" and
// "stop" bring nothing to save.
bool Delivered(const ByteText& result);
// Whether a fetch brought a page or picture: Delivered, with a body. An
// empty answer is as much a failed item as an error answer.
bool DeliveredWithBody(const ByteText& result);
