#pragma once
// The download view over the main window: status line, idle state and clock
// through the window's controller, the selection window as a real modal
// Select_Number and the update window as a real modal Upgrade over the
// window, the end of the program through the controller's immediate exit.

#include "app/download_view.h"

#include <functional>

class DesktopNotifier;
class MainController;
class Select_Number;
class Upgrade;
class QWidget;

class MainWindowView : public DownloadView {
public:
    MainWindowView(MainController& controller, QWidget* window);

    void SetStat(const QString& text) override;
    void ResetControls() override;
    void SetClockRunning(bool running) override;
    void Repaint() override;
    SelectionOutcome OpenSelection(const SelectionData& data, SelectionChoice& choice) override;
    void OfferIssue(const QString& issueFolder) override;
    void EndProgram() override;
    UpdateDecision OfferUpdate(const UpdateInfo& info) override;
    void PageDone(int n, int count, int picturesFound) override;
    void PictureDone(int i, int count) override;
    void IssueArrived(const ArrivedIssue& issue) override;

    // Where IssueArrived goes; none by default.
    void setNotifier(DesktopNotifier* notifier) { notifier_ = notifier; }

    // Called with every selection window before it opens (tests drive it).
    void setSelectionHook(std::function<void(Select_Number&)> hook) {
        selectionHook_ = std::move(hook);
    }
    // How many selection windows were opened.
    int SelectionsOpened() const { return selectionsOpened_; }
    // Called with every update window before it opens (tests drive it).
    void setUpgradeHook(std::function<void(Upgrade&)> hook) { upgradeHook_ = std::move(hook); }

private:
    MainController& controller_;
    QWidget* window_;
    std::function<void(Select_Number&)> selectionHook_;
    int selectionsOpened_ = 0;
    std::function<void(Upgrade&)> upgradeHook_;
    DesktopNotifier* notifier_ = nullptr;
};
