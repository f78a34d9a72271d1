#include "app/window_hooks.h"

#include "app/about_window.h"
#include "app/main_controller.h"
#include "app/options_window.h"

void WireOptionsAndAbout(MainController& controller, Download_Control& DC, Messenger& messenger,
                         const OptionsHooks& hooks, QWidget* mainWindow) {
    AppState& app = controller.app();
    controller.hooks.openSettings = [&app, &DC, &messenger, &hooks, mainWindow] {
        ShowOptions(app, DC, messenger, hooks, mainWindow);
    };
    controller.hooks.openAbout = [&app, mainWindow] {
        About window(app.sites, mainWindow);
        window.exec();
    };
}
