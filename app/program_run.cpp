#include "app/program_run.h"

#include "app/controller_view.h"
#include "app/desktop_notifier.h"
#include "app/main_controller.h"
#include "app/running_copy.h"
#include "app/single_instance.h"
#include "app/start_up.h"
#include "app/unattended_end.h"
#include "app/unattended_messenger.h"
#include "app/workflow.h"
#include "net/download_control.h"
#include "net/hang_up.h"
#include "settings/installed_data.h"
#include "settings/program_folder.h"

#include <QCoreApplication>
#include <QDir>

int RunProgram(Messenger* interactive, const std::function<int(Run&)>& body) {
    QCoreApplication::setApplicationName(QStringLiteral("norvel2"));
    const QString commandLine = CommandLineText(QCoreApplication::arguments());
    const CommandLine line = ParseCommandLine(commandLine);
    const bool unattended = line.AutoNewspaper || line.AutoMagazine;

    AppState app;
    const ProgramFolderPlace place = LocateProgramFolder();
    app.ProgramFolder = place.folder;
    app.sites = LoadSites(app.ProgramFolder);
    UnattendedMessenger answerer([&app] { return app.settings.KillConnect; });
    Messenger& messenger =
        unattended || !interactive ? static_cast<Messenger&>(answerer) : *interactive;
    const auto notStarted = [&](const QString& reason) {
        if (unattended)
            Conclude(
                DescribeStartFailure(line.AutoMagazine ? MagazineSource : NewspaperSource, reason),
                app.ProgramFolder);
        return ExitNotStarted;
    };

    // A new account has no folder yet: it is made (with its parents) before
    // the check, which then judges the folder the program will really use.
    QDir().mkpath(app.ProgramFolder);
    if (!FolderWritable(app.ProgramFolder)) {
        messenger.Show(NoWriteAccessText(app.ProgramFolder), QString::fromUtf8("Ошибка"),
                       MessageIcon::Error);
        return notStarted(NoWriteAccessText(app.ProgramFolder));
    }
    SingleInstance instance(app.ProgramFolder);
    if (!instance.tryAcquire()) {
        messenger.Show(QString::fromUtf8("Программа уже запущена!"), QString::fromUtf8("Ошибка"),
                       MessageIcon::Error);
        if (!unattended && interactive)
            CallRunningCopy(app.ProgramFolder);
        return notStarted(QString::fromUtf8("Программа уже запущена!"));
    }
    // An installed program keeps the user's copy of its data/ up to date.
    if (!place.installedData.isEmpty())
        SyncInstalledData(place.installedData, place.folder);
    if (!CheckDataFolder(app.ProgramFolder, app.sites.HomePage, messenger))
        return notStarted(answerer.Shown().value(0));

    Run run{app, commandLine, messenger, answerer};
    return body(run);
}

void WireDownloadControl(Download_Control& DC, Hang_Up& hangUp, MainController& controller,
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

void StartRun(Run& run, MainController& controller, Download_Control& DC, IssueDownload& download) {
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

int RunUntilEnd(QCoreApplication& application, const MainController& controller) {
    const int status = application.exec();
    return controller.EndingAtOnce() ? controller.ExitCode() : status;
}

// Without any window the run neither loads the window system, fonts and
// styles nor builds widgets nobody would look at.
int RunWithoutWindow(Run& run, QCoreApplication& application, const BookMaker& makeBook) {
    Download_Control DC;
    DC.setCaFile(run.app.sites.CaFile);
    Hang_Up hangUp;
    MainController controller(run.app, run.messenger);
    WireDownloadControl(DC, hangUp, controller, run.messenger);
    ControllerView view(controller);
    DesktopNotifier notifier;
    view.setNotifier(&notifier);
    IssueDownload download(run.app, DC, run.messenger, view, hangUp);
    download.makeBook = makeBook;
    StartRun(run, controller, DC, download);
    return RunUntilEnd(application, controller);
}
