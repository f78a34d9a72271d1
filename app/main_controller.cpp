#include "app/main_controller.h"
#include "settings/program_folder.h"

#include "settings/version.h"

#include <QCoreApplication>
#include <QFileInfo>

MainController::MainController(AppState& app, Messenger& messenger, QObject* parent)
    : QObject(parent), app_(app), messenger_(messenger) {
    Timer1.setInterval(Timer1IntervalMs);
    connect(&Timer1, &QTimer::timeout, this, &MainController::Timer1Tick);
    CString.setInterval(CStringDelayMs);
    CString.setSingleShot(true);
    connect(&CString, &QTimer::timeout, this, &MainController::unattendedStart);
}

void MainController::Load(const QString& commandLine, const CasheSetup& setCashe) {
    Caption = QString::fromUtf8("Норвел (v ") + QLatin1String(ProgramVersion) + ")";
    SelectSource(Option2Checked ? MagazineSource : NewspaperSource);
    if (StartUp(app_, commandLine, messenger_, setCashe))
        CString.start();
    Q_EMIT changed();
}

void MainController::SelectSource(int16_t source) {
    Option1Checked = source != MagazineSource;
    Option2Checked = !Option1Checked;
    LogoSource = Option1Checked ? NewspaperSource : MagazineSource;
    app_.state.CurrentSource = LogoSource;
    Q_EMIT changed();
    Q_EMIT focusCommand1();
}

// The first button acts on the state it finds: it starts a download when
// idle and asks before stopping one.
void MainController::Command1Click() {
    if (app_.state.Downloading)
        askToStop();
    else
        startDownloading();
}

void MainController::startDownloading() {
    WorkflowState& st = app_.state;
    st.Downloading = true;
    st.StopRequested = false;
    Command1Caption = QString::fromUtf8("Стоп");
    Command2Enabled = false;
    Command3Enabled = false;
    st.ElapsedTime = 0;
    Label1 = QString::fromUtf8("Время: ") + ElapsedText(0);
    Timer1.start();
    st.TrafficBytes = 0;
    Label2 = QString::fromUtf8("Трафик: 0 Кб");
    Frame2Visible = true;
    OfferedIssue.clear();
    progress_.Start();
    progressClock_.start();
    ProgressVisible = true;
    showProgress();
    Option1Enabled = false;
    Option2Enabled = false;
    Q_EMIT changed();

    // Only switches the proxy on; the download's start (IssueDownload::Start)
    // then hands the whole proxy state over, off as well as on, so a proxy
    // switched off in the settings is no longer used.
    const Settings& s = app_.settings;
    if (s.UseProxy) {
        if (hooks.useProxyServer)
            hooks.useProxyServer(cp1251::fromUnicode(s.ProxyName),
                                 cp1251::fromUnicode(s.ProxyPort));
        if (s.ProxyAut && hooks.proxyAut)
            hooks.proxyAut(cp1251::fromUnicode(s.ProxyLogin), cp1251::fromUnicode(s.ProxyPass));
    }
    if (hooks.startDownload)
        hooks.startDownload();
    else
        ResetControls();
    // Nobody is there to start another download or to close the window:
    // whichever way this one ended, the program ends with it.
    if (Unattended())
        EndProgramAtOnce(hooks.concludeUnattended ? hooks.concludeUnattended() : 0);
}

// Downloading is cleared before the question, so a download step that
// resumes meanwhile ends quietly. After "No" the download goes on as if
// never asked, and ends as what it really was.
void MainController::askToStop() {
    WorkflowState& st = app_.state;
    st.Downloading = false;
    st.StopRequested = true;
    const MessageAnswer answer = messenger_.Show(
        QString::fromUtf8("Вы уверены, что хотите остановить процесс загрузки?"),
        QString::fromUtf8("Подтверждение"), MessageIcon::Question, MessageButtons::YesNo);
    if (answer != MessageAnswer::Yes) {
        st.Downloading = true;
        st.StopRequested = false;
        return;
    }
    if (hooks.stopFetch)
        hooks.stopFetch();
    ResetControls();
    SetStat(QString::fromUtf8("Загрузка прервана пользователем"));
    if (app_.settings.KillConnect &&
        messenger_.Show(QString::fromUtf8("Разорвать соединение?"),
                        QString::fromUtf8("Подтверждение"), MessageIcon::Question,
                        MessageButtons::YesNo) == MessageAnswer::Yes &&
        hooks.hangUp)
        hooks.hangUp();
}

void MainController::Command2Click() {
    if (hooks.openSettings)
        hooks.openSettings();
}

void MainController::Command3Click() {
    if (!QFileInfo(ArchiveFolderPath(app_.ProgramFolder)).isDir()) {
        messenger_.Show(QString::fromUtf8("Нет загруженных номеров."), QString::fromUtf8("Архив"),
                        MessageIcon::Information);
        return;
    }
    if (hooks.openArchive)
        hooks.openArchive();
}

void MainController::Command4Click() {
    if (hooks.openAbout)
        hooks.openAbout();
}

void MainController::ResetControls() {
    app_.state.Downloading = false;
    Command1Caption = QString::fromUtf8("Загрузить");
    Command2Enabled = true;
    Command3Enabled = true;
    Option1Enabled = true;
    Option2Enabled = true;
    Timer1.stop();
    ProgressVisible = false;
    Q_EMIT changed();
}

void MainController::PageDone(int n, int count, int picturesFound) {
    progress_.PageDone(n, count, picturesFound, progressClock_.elapsed());
    showProgress();
    Q_EMIT changed();
}

void MainController::PictureDone(int i, int count) {
    progress_.PictureDone(i, count, progressClock_.elapsed());
    showProgress();
    Q_EMIT changed();
}

void MainController::showProgress() {
    ProgressPercent = progress_.Percent();
    ProgressText = progress_.Text();
}

QString MainController::WindowTitle() const {
    return ProgressVisible ? QString::number(ProgressPercent) + "% — " + Caption : Caption;
}

void MainController::SetStat(const QString& text) {
    Stat = text;
    Q_EMIT changed();
}

void MainController::SetTrafficText(const QString& labelText) {
    Label2 = labelText;
    Q_EMIT changed();
}

void MainController::OfferIssue(const QString& issueFolder) {
    OfferedIssue = issueFolder + "/index.htm";
    Q_EMIT changed();
}

void MainController::OpenOfferedIssue() {
    if (!OfferedIssue.isEmpty() && hooks.openIssue)
        hooks.openIssue(OfferedIssue);
}

// The clock counts ticks, not wall time.
void MainController::Timer1Tick() {
    ++app_.state.ElapsedTime;
    Label1 = QString::fromUtf8("Время: ") + ElapsedText(app_.state.ElapsedTime);
    Q_EMIT changed();
}

void MainController::unattendedStart() {
    CString.stop();
    if (app_.state.AutoNewspaper) {
        SelectSource(NewspaperSource);
        Command1Click();
    }
    if (app_.state.AutoMagazine) {
        SelectSource(MagazineSource);
        Command1Click();
    }
}

bool MainController::ConfirmClose() {
    if (!app_.state.Downloading)
        return true;
    askToStop();
    return !app_.state.Downloading;
}

void MainController::Unload() {
    if (endingAtOnce_ || unloaded_)
        return;
    unloaded_ = true;
    if (app_.settings.ClearCasheExit && hooks.clearCashe)
        hooks.clearCashe();
}

void MainController::EndProgramAtOnce(int exitCode) {
    endingAtOnce_ = true;
    exitCode_ = exitCode;
    Timer1.stop();
    CString.stop();
    if (hooks.endProgram)
        hooks.endProgram(exitCode);
    else
        QCoreApplication::exit(exitCode);
}

#include "moc_main_controller.cpp"
