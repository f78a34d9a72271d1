// The program norvel2: one main window over one download control. Start:
// the switches answered on standard output, the program folder's write
// check, single copy, data folder, then the window's load (settings, cache,
// temp folder, command line) and the event loop. A run started with -kp or
// -kt has an answerer instead of message boxes and ends with its download;
// without a display it runs without any window.
#include "app/controller_view.h"
#include "app/desktop_notifier.h"
#include "app/download_view_window.h"
#include "app/main_controller.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "app/open_issue.h"
#include "app/reader_commands.h"
#include "app/single_instance.h"
#include "app/start_up.h"
#include "app/unattended_end.h"
#include "app/unattended_messenger.h"
#include "app/window_hooks.h"
#include "app/workflow.h"
#include "archive/archive_windows.h"
#include "archive/ws_error_doc.h"
#include "net/download_control.h"
#include "net/download_control_view.h"
#include "net/hang_up.h"
#include "settings/installed_data.h"
#include "settings/program_folder.h"
#include "settings/version.h"

#include <QApplication>
#include <cstdio>

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
// could say anything. A platform the user chose stays as it is (offscreen
// chosen by hand runs the windows unseen, as tests and screenshots do).
// True when the program chose offscreen itself: nobody can see a window.
bool chooseOffscreenWithoutDisplay() {
    if (!qEnvironmentVariableIsEmpty("DISPLAY") ||
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
        !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return false;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return true;
}

void print(std::FILE* stream, const QString& text) {
    const QByteArray bytes = (QString(text).replace("\r\n", "\n") + "\n").toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

QString commandLineOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return CommandLineText(arguments);
}

// Without a display the toolkit's notices about the missing window system
// would fill a scheduler's mail between the program's own lines; only its
// errors are let through.
void quietToolkitWithoutDisplay() {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform != "offscreen" && platform != "minimal")
        return;
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            print(stderr, text);
    });
}

// Answers --help and --version on standard output; nothing for any other
// command line.
std::optional<int> answerInfoSwitch(int argc, char** argv) {
    switch (InfoSwitchOf(commandLineOf(argc, argv))) {
    case InfoSwitch::Help:
        print(stdout, CommandLineHelp());
        return 0;
    case InfoSwitch::Version:
        print(stdout, QStringLiteral("norvel2 ") + QLatin1String(ProgramVersion));
        return 0;
    case InfoSwitch::None:
        break;
    }
    return std::nullopt;
}

// What a run holds from its start-up checks on.
struct Run {
    AppState& app;
    QString commandLine;
    Messenger& messenger;
    MessageBoxMessenger& boxes;
    UnattendedMessenger& answerer;
};

// The controller's download, the end of an unattended one, and the load
// that starts the run (settings, cache, temp folder, command line).
void startRun(Run& run, MainController& controller, Download_Control& DC, IssueDownload& download) {
    controller.hooks.startDownload = [&download] { download.Start(); };
    controller.hooks.concludeUnattended = [&run, &controller, &download] {
        return Conclude(DescribeDownloadEnd(download.report(), run.app.state, controller.Stat,
                                            run.answerer.Shown()),
                        run.app.ProgramFolder);
    };
    controller.Load(run.commandLine, [&DC](const QString& folder, int16_t size) {
        DC.PathCasheFiles(folder);
        DC.CasheSize(size);
    });
}

// The event loop until the end; an immediate end keeps the status it was
// given (closing the window also asks the loop to end, with 0).
int runUntilEnd(QCoreApplication& application, const MainController& controller) {
    const int status = application.exec();
    return controller.EndingAtOnce() ? controller.ExitCode() : status;
}

// The window and its parts over one download control, run until the end.
int runMainWindow(Run& run, QApplication& application) {
    Download_Control DC;
    DC.setCaFile(run.app.sites.CaFile);
    Hang_Up hangUp;
    MainController controller(run.app, run.messenger);
    Main window(controller);
    run.boxes.setParent(&window);
    window.setDownloadControlView(new DownloadControlView(&DC));
    wireDownloadControl(DC, hangUp, controller, run.messenger);
    DC.setErrorWindowOpener(
        [&window](const QString& path) { ShowSocketErrorCodes(path, &window); });
    MainWindowView view(controller, &window);
    DesktopNotifier notifier;
    notifier.openIssue = [](const QString& folder) { OpenIssue(folder); };
    view.setNotifier(&notifier);
    IssueDownload download(run.app, DC, run.messenger, view, hangUp);
    WireArchiveWindows(controller, run.messenger, &window);
    OptionsHooks optionsHooks;
    optionsHooks.openArchiveCopier = ArchiveCopierOpener(controller.app(), run.messenger, &window);
    WireOptionsAndAbout(controller, DC, run.messenger, optionsHooks, &window);
    startRun(run, controller, DC, download);
    window.show();
    return runUntilEnd(application, controller);
}

// An unattended run nobody can see: the window's controller and the
// download without any window, so the run neither loads the window system,
// fonts and styles nor builds widgets nobody would look at.
int runWithoutWindow(Run& run, QCoreApplication& application) {
    Download_Control DC;
    DC.setCaFile(run.app.sites.CaFile);
    Hang_Up hangUp;
    MainController controller(run.app, run.messenger);
    wireDownloadControl(DC, hangUp, controller, run.messenger);
    ControllerView view(controller);
    DesktopNotifier notifier;
    view.setNotifier(&notifier);
    IssueDownload download(run.app, DC, run.messenger, view, hangUp);
    startRun(run, controller, DC, download);
    return runUntilEnd(application, controller);
}

// From the program folder's checks to the end of the run, over the window
// or, when windowless, without one.
int runProgram(QCoreApplication& application, bool windowless) {
    QCoreApplication::setApplicationName(QStringLiteral("norvel2"));
    const QString commandLine = CommandLineText(QCoreApplication::arguments());
    const CommandLine line = ParseCommandLine(commandLine);
    const bool unattended = line.AutoNewspaper || line.AutoMagazine;

    AppState app;
    const ProgramFolderPlace place = LocateProgramFolder();
    app.ProgramFolder = place.folder;
    app.sites = LoadSites(app.ProgramFolder);
    MessageBoxMessenger boxes;
    UnattendedMessenger answerer([&app] { return app.settings.KillConnect; });
    Messenger& messenger = unattended ? static_cast<Messenger&>(answerer) : boxes;
    const auto notStarted = [&](const QString& reason) {
        if (unattended)
            Conclude(
                DescribeStartFailure(line.AutoMagazine ? MagazineSource : NewspaperSource, reason),
                app.ProgramFolder);
        return ExitNotStarted;
    };

    if (!FolderWritable(app.ProgramFolder)) {
        messenger.Show(NoWriteAccessText(app.ProgramFolder), QString::fromUtf8("Ошибка"),
                       MessageIcon::Error);
        return notStarted(NoWriteAccessText(app.ProgramFolder));
    }
    SingleInstance instance(app.ProgramFolder);
    if (!instance.tryAcquire()) {
        messenger.Show(QString::fromUtf8("Программа уже запущена!"), QString::fromUtf8("Ошибка"),
                       MessageIcon::Error);
        return notStarted(QString::fromUtf8("Программа уже запущена!"));
    }
    // An installed program keeps the user's copy of its data/ up to date.
    if (!place.installedData.isEmpty())
        SyncInstalledData(place.installedData, place.folder);
    if (!CheckDataFolder(app.ProgramFolder, app.sites.HomePage, messenger))
        return notStarted(answerer.Shown().value(0));

    Run run{app, commandLine, messenger, boxes, answerer};
    if (windowless)
        return runWithoutWindow(run, application);
    return runMainWindow(run, static_cast<QApplication&>(application));
}

} // namespace

int main(int argc, char** argv) {
    if (const std::optional<int> status = RunReaderCommand(argc, argv))
        return *status;
    if (const std::optional<int> status = answerInfoSwitch(argc, argv))
        return *status;
    const bool noDisplay = chooseOffscreenWithoutDisplay();
    quietToolkitWithoutDisplay();
    if (!noDisplay) {
        QApplication application(argc, argv);
        return runProgram(application, false);
    }
    // Without a display an interactive run would wait for ever on a window
    // nobody sees: the help goes where the caller can read it.
    const CommandLine line = ParseCommandLine(commandLineOf(argc, argv));
    if (!line.AutoNewspaper && !line.AutoMagazine) {
        print(stderr, CommandLineHelp());
        return ExitNotStarted;
    }
    // With no window system to share the event loop with, Qt's own event
    // dispatcher serves the fetches with fewer wake-ups than GLib's. The
    // choice is the program's own: programs it starts do not inherit it.
    const bool chooseDispatcher = !qEnvironmentVariableIsSet("QT_NO_GLIB");
    if (chooseDispatcher)
        qputenv("QT_NO_GLIB", "1");
    QCoreApplication application(argc, argv);
    if (chooseDispatcher)
        qunsetenv("QT_NO_GLIB");
    return runProgram(application, true);
}
