// The program norvel2-gui: one main window over one download control, and
// everything the lean norvel2 hands over to it (any start with a display,
// the e-reader commands, unattended runs that make e-books). Start: the
// switches answered on standard output, the start-up checks, then the
// window's load (settings, cache, temp folder, command line) and the event
// loop. A run started with -kp or -kt has an answerer instead of message
// boxes and ends with its download; without a display it runs without any
// window.
#include "app/archive_windows.h"
#include "app/desktop_notifier.h"
#include "app/download_view_window.h"
#include "app/main_controller.h"
#include "app/main_window.h"
#include "app/open_issue.h"
#include "app/program_run.h"
#include "app/program_start.h"
#include "app/reader_commands.h"
#include "app/running_copy.h"
#include "app/start_up.h"
#include "app/unattended_end.h"
#include "app/window_hooks.h"
#include "app/workflow.h"
#include "app/ws_error_doc.h"
#include "ebook/issue_book.h"
#include "net/download_control.h"
#include "net/download_control_view.h"
#include "net/hang_up.h"
#include "ui/message_box.h"
#include "ui/toolkit_russian.h"
#include "ui/window_place.h"

#include <QApplication>

namespace {

// The window and its parts over one download control, run until the end.
int runMainWindow(Run& run, QApplication& application, MessageBoxMessenger& boxes) {
    Download_Control DC;
    DC.setCaFile(run.app.sites.CaFile);
    Hang_Up hangUp;
    MainController controller(run.app, run.messenger);
    Main window(controller);
    boxes.setParent(&window);
    window.setDownloadControlView(new DownloadControlView(&DC));
    WireDownloadControl(DC, hangUp, controller, run.messenger);
    DC.setErrorWindowOpener(
        [&window](const QString& path) { ShowSocketErrorCodes(path, &window); });
    MainWindowView view(controller, &window);
    DesktopNotifier notifier;
    notifier.openIssue = [](const QString& folder) { OpenIssue(folder); };
    view.setNotifier(&notifier);
    IssueDownload download(run.app, DC, run.messenger, view, hangUp);
    download.makeBook = MakeIssueBook;
    WireArchiveWindows(controller, run.messenger, &window);
    OptionsHooks optionsHooks;
    optionsHooks.openArchiveCopier = ArchiveCopierOpener(controller.app(), run.messenger, &window);
    WireOptionsAndAbout(controller, DC, run.messenger, optionsHooks, &window);
    StartRun(run, controller, DC, download);
    RestoreWindowPlace(window, OptionsFilePath(run.app.ProgramFolder), "Main");
    window.show();
    RunningCopyListener forward(run.app.ProgramFolder, [&window] { window.BringForward(); });
    return RunUntilEnd(application, controller);
}

} // namespace

int main(int argc, char** argv) {
    if (const std::optional<int> status = RunReaderCommand(argc, argv))
        return *status;
    if (const std::optional<int> status = AnswerInfoSwitch(argc, argv))
        return *status;
    // Without a display the toolkit would abort before the program could say
    // anything. A platform the user chose stays as it is (offscreen chosen by
    // hand runs the windows unseen, as tests and screenshots do).
    const bool noDisplay = DisplayMissing();
    if (noDisplay)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform == "offscreen" || platform == "minimal")
        QuietToolkit();
    if (!noDisplay) {
        QApplication application(argc, argv);
        LoadToolkitRussian(application);
        MessageBoxMessenger boxes;
        return RunProgram(&boxes, [&](Run& run) { return runMainWindow(run, application, boxes); });
    }
    // Without a display an interactive run would wait for ever on a window
    // nobody sees: the help goes where the caller can read it.
    const CommandLine line = ParseCommandLine(CommandLineOf(argc, argv));
    if (!line.AutoNewspaper && !line.AutoMagazine) {
        PrintLine(stderr, CommandLineHelp());
        return ExitNotStarted;
    }
    const auto application = WindowlessApplication(argc, argv);
    return RunProgram(nullptr,
                      [&](Run& run) { return RunWithoutWindow(run, *application, MakeIssueBook); });
}
