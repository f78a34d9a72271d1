#include "app/download_view_window.h"

#include "app/desktop_notifier.h"
#include "app/main_controller.h"
#include "app/select_number.h"
#include "archive/upgrade.h"
#include "net/repaint_pacer.h"

#include <QWidget>

MainWindowView::MainWindowView(MainController& controller, QWidget* window)
    : controller_(controller), window_(window) {}

void MainWindowView::SetStat(const QString& text) {
    controller_.SetStat(text);
}

void MainWindowView::ResetControls() {
    controller_.ResetControls();
}

void MainWindowView::SetClockRunning(bool running) {
    if (running)
        controller_.Timer1.start();
    else
        controller_.Timer1.stop();
}

// The workflow asks between steps that may keep the event loop from
// running (a copy of many files): what waits for the next frame is shown
// now, once a frame has passed.
void MainWindowView::Repaint() {
    RepaintPacer::PaintIfDue(window_);
}

SelectionOutcome MainWindowView::OpenSelection(const SelectionData& data, SelectionChoice& choice) {
    ++selectionsOpened_;
    Select_Number window(data, window_);
    if (selectionHook_)
        selectionHook_(window);
    const SelectionOutcome outcome = window.Run();
    if (outcome == SelectionOutcome::Load)
        choice = window.Choice();
    return outcome;
}

void MainWindowView::OfferIssue(const QString& issueFolder) {
    controller_.OfferIssue(issueFolder);
}

void MainWindowView::EndProgram() {
    controller_.EndProgramAtOnce();
}

UpdateDecision MainWindowView::OfferUpdate(const UpdateInfo& info) {
    Upgrade window(info, window_);
    if (upgradeHook_)
        upgradeHook_(window);
    return window.Run();
}

void MainWindowView::PageDone(int n, int count, int picturesFound) {
    controller_.PageDone(n, count, picturesFound);
}

void MainWindowView::PictureDone(int i, int count) {
    controller_.PictureDone(i, count);
}

void MainWindowView::IssueArrived(const ArrivedIssue& issue) {
    if (notifier_)
        notifier_->IssueArrived(issue);
}
