#include "app/download_view_window.h"

#include "app/select_number.h"
#include "ui/repaint_pacer.h"
#include "update/upgrade.h"

#include <QWidget>

MainWindowView::MainWindowView(MainController& controller, QWidget* window)
    : ControllerView(controller), window_(window) {}

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

UpdateDecision MainWindowView::OfferUpdate(const UpdateInfo& info) {
    Upgrade window(info, window_);
    if (upgradeHook_)
        upgradeHook_(window);
    return window.Run();
}

void MainWindowView::RefuseUpdate(const UpdateInfo& info) {
    Upgrade window(info, window_);
    window.ShowUnsigned();
    if (upgradeHook_)
        upgradeHook_(window);
    window.Run();
}
