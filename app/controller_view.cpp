#include "app/controller_view.h"

#include "app/desktop_notifier.h"
#include "app/main_controller.h"

void ControllerView::SetStat(const QString& text) {
    controller_.SetStat(text);
}

void ControllerView::ResetControls() {
    controller_.ResetControls();
}

void ControllerView::SetClockRunning(bool running) {
    if (running)
        controller_.Timer1.start();
    else
        controller_.Timer1.stop();
}

SelectionOutcome ControllerView::OpenSelection(const SelectionData& data, SelectionChoice& choice) {
    return SelectUnattended(data, choice);
}

void ControllerView::OfferIssue(const QString& issueFolder) {
    controller_.OfferIssue(issueFolder);
}

void ControllerView::EndProgram() {
    controller_.EndProgramAtOnce();
}

void ControllerView::PageDone(int n, int count, int picturesFound) {
    controller_.PageDone(n, count, picturesFound);
}

void ControllerView::PictureDone(int i, int count) {
    controller_.PictureDone(i, count);
}

void ControllerView::IssueArrived(const ArrivedIssue& issue) {
    if (notifier_)
        notifier_->IssueArrived(issue);
}
