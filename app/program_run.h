#pragma once
// A run of the program from its start-up checks to its end, shared by both
// programs: the program folder's write check, the single copy, the data
// folder, then the run itself; and the run without any window that an
// unattended start nobody can see gets: the main window's controller and
// the download over one download control, on a QCoreApplication.

#include "app/archive_upkeep.h"
#include "app/global.h"
#include "settings/messenger.h"

#include <QString>
#include <functional>

class Download_Control;
class Hang_Up;
class IssueDownload;
class MainController;
class QCoreApplication;
class UnattendedMessenger;

// What a run holds once its start-up checks have passed.
struct Run {
    AppState& app;
    QString commandLine;
    Messenger& messenger; // the answerer in -kp and -kt runs, else the window's
    UnattendedMessenger& answerer;
};

// The start-up checks, then body with the checked run; the exit status.
// interactive answers the messages of a run with a window; -kp and -kt runs
// are answered on standard error whatever it is.
int RunProgram(Messenger* interactive, const std::function<int(Run&)>& body);

// The download control behind the controller's seams.
void WireDownloadControl(Download_Control& DC, Hang_Up& hangUp, MainController& controller,
                         Messenger& messenger);
// The controller's download and the end of an unattended one, then the load
// that starts the run (settings, cache, temp folder, command line).
void StartRun(Run& run, MainController& controller, Download_Control& DC, IssueDownload& download);
// The event loop until the end; an immediate end keeps the status it was
// given (closing the window also asks the loop to end, with 0).
int RunUntilEnd(QCoreApplication& application, const MainController& controller);

// An unattended run nobody can see, to its end. makeBook makes the e-books
// MakeEpub asks for (none: no book is made).
int RunWithoutWindow(Run& run, QCoreApplication& application, const BookMaker& makeBook);
