#pragma once
// How the download workflow reaches the main window: the status line, the
// return to idle, the elapsed-time clock, a repaint, the modal selection
// window, the update window and the immediate end of the program once an
// update has taken over. (An unattended run is ended by whoever started the
// download, once the workflow has returned.) The program implements
// it over the main window (MainWindowView) or, in an unattended run nobody
// can see, over the window's controller alone (ControllerView); tests use
// these, over a real window on the offscreen platform, or their own.

#include "app/arrived_issue.h"
#include "app/select_number_model.h"
#include "update/update_check.h"

#include <QString>

class DownloadView {
public:
    virtual ~DownloadView() = default;

    // The status line Stat.
    virtual void SetStat(const QString& text) = 0;
    // Back to idle (Downloading cleared); every end of a download passes here.
    virtual void ResetControls() = 0;
    // The elapsed-time clock Timer1, paused while the selection window is open.
    virtual void SetClockRunning(bool running) = 0;
    // Lets the window show the progress of a long step at once.
    virtual void Repaint() = 0;
    // Opens the selection window modally; on Load, choice holds the issue.
    virtual SelectionOutcome OpenSelection(const SelectionData& data, SelectionChoice& choice) = 0;
    // The issue of issueFolder is downloaded ("Номер загружен"): the window
    // may offer to open it.
    virtual void OfferIssue(const QString& /*issueFolder*/) {}
    // Ends the program at once, without the unload step: the update started
    // by "Обновить" takes over.
    virtual void EndProgram() {}
    // Opens the update window modally over the paused download; the
    // decision of its buttons. Without a window the download goes on.
    virtual UpdateDecision OfferUpdate(const UpdateInfo& info) {
        (void)info;
        return UpdateDecision::Cancel;
    }
    // The release fetched on "Обновить" is not the publisher's: the update
    // window says so again, with the direct link, and only closes.
    virtual void RefuseUpdate(const UpdateInfo& /*info*/) {}
    // The progress of the issue: page n of count read, with picturesFound
    // pictures to fetch for the pages read so far (0 when pictures are not
    // fetched); picture i of count fetched.
    virtual void PageDone(int /*n*/, int /*count*/, int /*picturesFound*/) {}
    virtual void PictureDone(int /*i*/, int /*count*/) {}
    // The issue has been downloaded ("Номер загружен"): the desktop is told.
    virtual void IssueArrived(const ArrivedIssue& /*issue*/) {}
};
