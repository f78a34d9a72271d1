#pragma once
// The download view over the main window: what the controller's view does,
// with the selection window as a real modal Select_Number and the update
// window as a real modal Upgrade over the window, and the window repainted
// between long steps.

#include "app/controller_view.h"

#include <functional>

class Select_Number;
class Upgrade;
class QWidget;

class MainWindowView : public ControllerView {
public:
    MainWindowView(MainController& controller, QWidget* window);

    void Repaint() override;
    SelectionOutcome OpenSelection(const SelectionData& data, SelectionChoice& choice) override;
    UpdateDecision OfferUpdate(const UpdateInfo& info) override;
    void RefuseUpdate(const UpdateInfo& info) override;

    // Called with every selection window before it opens (tests drive it).
    void setSelectionHook(std::function<void(Select_Number&)> hook) {
        selectionHook_ = std::move(hook);
    }
    // How many selection windows were opened.
    int SelectionsOpened() const { return selectionsOpened_; }
    // Called with every update window before it opens (tests drive it).
    void setUpgradeHook(std::function<void(Upgrade&)> hook) { upgradeHook_ = std::move(hook); }

private:
    QWidget* window_;
    std::function<void(Select_Number&)> selectionHook_;
    int selectionsOpened_ = 0;
    std::function<void(Upgrade&)> upgradeHook_;
};
