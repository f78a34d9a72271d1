#include "app/archive_windows.h"

#include "app/main_controller.h"
#include "archive/arhiv.h"
#include "archive/copy_arhiv.h"
#include "archive/open_page.h"

void WireArchiveWindows(MainController& controller, Messenger& messenger, QWidget* window) {
    AppState& app = controller.app();
    MainHooks& hooks = controller.hooks;
    hooks.openArchive = [&app, &messenger, window] {
        Arhiv archive(app.ProgramFolder, app.settings, messenger, window);
        archive.exec();
    };
    hooks.openIssue = [&app, &messenger](const QString& indexPath) {
        OpenIssuePage(indexPath, app.settings, messenger);
    };
}

std::function<void()> ArchiveCopierOpener(AppState& app, Messenger& messenger, QWidget* parent) {
    return [&app, &messenger, parent] {
        RunArchiveCopier(app.ProgramFolder, app.settings, messenger, parent);
    };
}
