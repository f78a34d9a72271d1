#pragma once
// The rules of the main window Main, apart from its widgets: the start-up
// after the data-folder check, the choice of the source, the first button
// that starts a download and asks before stopping one, the elapsed-time
// clock, the unattended start and the unload. The window (main_window.h)
// only mirrors the fields below and forwards clicks.
//
// What lies beyond this window is reached through MainHooks, set by the
// program's composition (gui_main.cpp, program_run.cpp) and by tests: the
// download workflow, the download control, the hang-up and the windows that
// "Настройки", "Архив" and "О программе" open.

#include "app/download_progress.h"
#include "app/global.h"
#include "app/start_up.h"
#include "settings/messenger.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

struct MainHooks {
    // Runs the download that the first button (or an unattended start) has
    // begun: the version check, then LoadMainPage of the chosen source, and
    // returns when it has ended. The workflow ends every download with
    // ResetControls. Without it the window goes back to idle at once.
    std::function<void()> startDownload;
    // An unattended download has ended, whichever way: says how (summary,
    // run log) and returns the program's exit status. Without it the status
    // is 0.
    std::function<int()> concludeUnattended;
    // The download control: end the running fetch ("stop"); switch the
    // proxy on with name and port; switch proxy authorisation on; empty the
    // response cache.
    std::function<void()> stopFetch;
    std::function<void(const ByteText& name, const ByteText& port)> useProxyServer;
    std::function<void(const ByteText& login, const ByteText& password)> proxyAut;
    std::function<void()> clearCashe;
    // Takes dial-up links down.
    std::function<void()> hangUp;
    // The windows of "Настройки", "Архив" (only when the archive exists) and
    // "О программе", shown modally.
    std::function<void()> openSettings;
    std::function<void()> openArchive;
    std::function<void()> openAbout;
    // Opens an issue's index page in the browser, as the archive window's
    // "Открыть" does.
    std::function<void(const QString& indexPath)> openIssue;
    // Ends the program with an exit code; QCoreApplication::exit when unset.
    std::function<void(int exitCode)> endProgram;
};

class MainController : public QObject {
    Q_OBJECT

public:
    static constexpr int Timer1IntervalMs = 1000; // elapsed-time clock
    // The unattended start fires on the next turn of the event loop after
    // start-up: the order of events stays, and nobody waits for a run that
    // nobody watches.
    static constexpr int CStringDelayMs = 0;

    MainController(AppState& app, Messenger& messenger, QObject* parent = nullptr);

    MainHooks hooks;

    // Start-up after the data-folder check: caption, source, then StartUp
    // (settings, cache, temp folder, command line). Switches CString on for
    // an unattended run.
    void Load(const QString& commandLine, const CasheSetup& setCashe = {});

    // A click on Option1 (source 1) or Option2 (source 2); once at start.
    void SelectSource(int16_t source);
    // "Загрузить" when idle, "Стоп" while downloading. In an unattended
    // run the program ends with the download it starts.
    void Command1Click();
    void Command2Click(); // "Настройки"
    void Command3Click(); // "Архив"
    void Command4Click(); // "О программе"
    // Back to idle; every end of a download passes through here. Leaves Stat
    // and Frame2 as they are.
    void ResetControls();
    // One tick of Timer1: one more second of ElapsedTime, shown in Label1.
    void Timer1Tick();
    // The progress of the issue, from the workflow: page n of count read
    // (picturesFound pictures to fetch so far), picture i of count fetched.
    void PageDone(int n, int count, int picturesFound);
    void PictureDone(int i, int count);
    // The window's title: the caption, led by the percentage while a
    // download runs, so the task bar shows it.
    QString WindowTitle() const;
    // The status line Stat and the traffic label Label2.
    void SetStat(const QString& text);
    void SetTrafficText(const QString& labelText);
    // After "Номер загружен": the window offers the issue of issueFolder
    // ("Открыть номер") until the next download starts.
    void OfferIssue(const QString& issueFolder);
    // A click on "Открыть номер": opens the offered issue's index page.
    void OpenOfferedIssue();
    // Closing the main window: during a download it is a stop, asked
    // first. True when the window may close (nothing runs, or the stop was
    // confirmed).
    bool ConfirmClose();
    // The unload of the main window ("Выход" or closing it): clears the
    // cache with ClearCasheExit. Not run when the program ends at once.
    void Unload();
    // Ends the program without the unload step (end of an unattended run).
    void EndProgramAtOnce(int exitCode = 0);
    bool EndingAtOnce() const { return endingAtOnce_; }
    // The exit code the program ends with at once (the last one asked for).
    int ExitCode() const { return exitCode_; }

    AppState& app() { return app_; }
    bool Unattended() const { return app_.state.AutoNewspaper || app_.state.AutoMagazine; }
    WorkflowState& state() { return app_.state; }

    // What the window shows.
    QString Caption;
    QString Command1Caption = QString::fromUtf8("Загрузить");
    bool Command2Enabled = true;
    bool Command3Enabled = true;
    bool Option1Enabled = true;
    bool Option2Enabled = true;
    bool Option1Checked = true;
    bool Option2Checked = false;
    int16_t LogoSource = NewspaperSource; // LOGO shows KPlogo (1) or KTlogo (2)
    QString Stat = QStringLiteral("Ready");
    bool Frame2Visible = false;
    QString Label1 = QString::fromUtf8("Время: 0:00:00");
    QString Label2 = QString::fromUtf8("Трафик: 0 Кб");
    QString OfferedIssue; // index page "Открыть номер" opens; empty: not shown
    // The progress bar under the status line, shown while downloading.
    bool ProgressVisible = false;
    int ProgressPercent = 0;
    QString ProgressText;

    QTimer Timer1;  // 1000 ms while a download runs
    QTimer CString; // fires once, on the next turn after an unattended start-up

Q_SIGNALS:
    void changed();       // some field above changed
    void focusCommand1(); // the focus goes to the first button

private:
    void startDownloading();
    void askToStop();
    void unattendedStart();

    void showProgress();

    AppState& app_;
    Messenger& messenger_;
    DownloadProgress progress_;
    QElapsedTimer progressClock_;
    bool endingAtOnce_ = false;
    int exitCode_ = 0;
    bool unloaded_ = false;
};
