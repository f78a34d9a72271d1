#pragma once
// The download view over the main window's controller alone, without any
// window: status line, idle state, clock, progress and the offered issue go
// to the controller, the arrived issue to the desktop. An unattended run
// that nobody can see uses it as it is: the selection is made as the
// selection window's automatic press makes it, nothing is painted and an
// update only gets reported. The main window's view (download_view_window.h)
// adds the windows.

#include "app/download_view.h"

class DesktopNotifier;
class MainController;

class ControllerView : public DownloadView {
public:
    explicit ControllerView(MainController& controller) : controller_(controller) {}

    void SetStat(const QString& text) override;
    void ResetControls() override;
    void SetClockRunning(bool running) override;
    void Repaint() override {}
    SelectionOutcome OpenSelection(const SelectionData& data, SelectionChoice& choice) override;
    void OfferIssue(const QString& issueFolder) override;
    void EndProgram() override;
    void PageDone(int n, int count, int picturesFound) override;
    void PictureDone(int i, int count) override;
    void IssueArrived(const ArrivedIssue& issue) override;

    // Where IssueArrived goes; none by default.
    void setNotifier(DesktopNotifier* notifier) { notifier_ = notifier; }

protected:
    MainController& controller_;

private:
    DesktopNotifier* notifier_ = nullptr;
};
