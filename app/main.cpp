// The program norvel2: one main window over one download control. Start:
// single copy, data folder, then the window's load (settings, cache, temp
// folder, command line) and the event loop.
#include "app/download_view_window.h"
#include "app/main_controller.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "app/single_instance.h"
#include "app/start_up.h"
#include "app/window_hooks.h"
#include "app/workflow.h"
#include "net/download_control.h"
#include "net/download_control_view.h"
#include "net/hang_up.h"
#include "settings/program_folder.h"

#include <QApplication>

namespace {

// The download control behind the window's seams.
void wireDownloadControl(Download_Control& DC, Hang_Up& hangUp, MainController& controller,
                         Messenger& messenger) {
    DC.setMessenger(&messenger);
    DC.setTrafficCounter(&controller.state().TrafficBytes);
    QObject::connect(&DC, &Download_Control::mainStatusChanged, &controller,
                     &MainController::SetStat);
    QObject::connect(&DC, &Download_Control::trafficChanged, &controller,
                     &MainController::SetTrafficText);
    MainHooks& h = controller.hooks;
    h.stopFetch = [&DC] { DC.Stopped(); };
    h.useProxyServer = [&DC](const ByteText& name, const ByteText& port) {
        DC.UseProxyServer(name, port, true);
    };
    h.proxyAut = [&DC](const ByteText& login, const ByteText& password) {
        DC.ProxyAut(login, password, true);
    };
    h.clearCashe = [&DC] { DC.ClearCashe(); };
    h.hangUp = [&hangUp] { hangUp.HangUpAll(); };
}

// Started by a scheduler, over ssh or from a console there is no display to
// show a window on; without one the toolkit would abort before the program
// could say anything. A platform the user chose stays as it is.
void chooseOffscreenWithoutDisplay() {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

} // namespace

int main(int argc, char** argv) {
    chooseOffscreenWithoutDisplay();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("norvel2"));

    AppState app;
    app.ProgramFolder = ProgramFolder();
    app.sites = LoadSites(app.ProgramFolder);
    MessageBoxMessenger messenger;

    SingleInstance instance(app.ProgramFolder);
    if (!instance.tryAcquire()) {
        messenger.Show(QString::fromUtf8("Программа уже запущена!"), QString::fromUtf8("Ошибка"),
                       MessageIcon::Error);
        return 1;
    }
    if (!CheckDataFolder(app.ProgramFolder, app.sites.HomePage, messenger))
        return 1;

    Download_Control DC;
    DC.setCaFile(app.sites.CaFile);
    Hang_Up hangUp;
    MainController controller(app, messenger);
    Main window(controller);
    messenger.setParent(&window);
    window.setDownloadControlView(new DownloadControlView(&DC));
    wireDownloadControl(DC, hangUp, controller, messenger);
    MainWindowView view(controller, &window);
    IssueDownload download(app, DC, messenger, view, hangUp);
    controller.hooks.startDownload = [&download] { download.Start(); };
    OptionsHooks optionsHooks; // the archive copier joins here
    WireOptionsAndAbout(controller, DC, messenger, optionsHooks, &window);

    controller.Load(CommandLineText(QApplication::arguments()),
                    [&DC](const QString& folder, int16_t size) {
                        DC.PathCasheFiles(folder);
                        DC.CasheSize(size);
                    });
    window.show();
    return application.exec();
}
