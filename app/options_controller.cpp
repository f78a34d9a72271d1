#include "app/options_controller.h"
#include "settings/program_folder.h"

#include "net/download_control.h"
#include "net/proxy_settings.h"
#include "processing/main_index.h"
#include "settings/utf8_text.h"
#include "settings/whole_file.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>

namespace {

const QString ErrorTitle = U("Ошибка");

constexpr int16_t MinCasheScroll = 10;
constexpr int16_t MaxCasheScroll = 500;

} // namespace

namespace options_text {
QString CopyFolderPlaceholder() {
    return U("Выберите каталог назначения  ->");
}
QString CreateNow() {
    return U("Создать сейчас");
}
QString IndexCreated() {
    return U("Индекс создан");
}
QString ApplyToArchive() {
    return U("Применить к всему архиву");
}
QString Copying() {
    return U("Копирую...");
}
QString Applied() {
    return U("Новый css применен к архиву");
}
} // namespace options_text

OptionsForm FormFromSettings(const Settings& s, int16_t stylesheetSize, int16_t casheFiles) {
    OptionsForm f;
    f.FolderFormat = s.FolderFormat >= 1 && s.FolderFormat <= 3 ? s.FolderFormat : 0;
    f.Check8 = s.DownloadImages;
    f.Check7 = s.IgnoreErrors;
    f.Check10 = s.AllwaysIndex;
    f.Check4 = s.KillConnect;
    f.Check5 = s.UseProxy;
    f.Text5 = s.ProxyName;
    f.Text6 = s.ProxyPort;
    f.ConnectionsSpin = std::clamp<int16_t>(s.Connections, MinConnections, MaxConnections);
    f.Check6 = s.ProxyAut;
    f.Text7 = s.ProxyLogin;
    f.Text8 = s.ProxyPass;
    f.Text3 = s.FileScript;
    f.BrowserText = s.Browser;
    // The scroll controls cannot hold a value outside their range.
    f.FontScroll = std::clamp(stylesheetSize, MinCssFontSize, MaxCssFontSize);
    f.Check1 = s.UseCashe;
    f.CasheScroll = std::clamp(s.CasheSize, MinCasheScroll, MaxCasheScroll);
    f.Text2 = casheFiles;
    f.Check2 = s.ClearCasheDown;
    f.Check3 = s.ClearCasheExit;
    f.Check11 = s.QuickDownload;
    f.Check9 = s.AutoCopy;
    f.Text9 = s.FolderToCopy.isEmpty() ? options_text::CopyFolderPlaceholder() : s.FolderToCopy;
    f.Check14 = s.ClearFolderToCopy;
    f.Check12 = s.CreateSubFolders;
    f.Check13 = s.CreateMainIndex;
    f.MakeEpubCheck = s.MakeEpub;
    f.KeepIssuesSpin = std::clamp<int16_t>(s.KeepIssues, 0, MaxKeepIssues);
    f.KeepDaysSpin = std::clamp<int16_t>(s.KeepDays, 0, MaxKeepDays);
    return f;
}

void FormToSettings(const OptionsForm& f, Settings& s) {
    s.DownloadImages = f.Check8;
    s.IgnoreErrors = f.Check7;
    s.AllwaysIndex = f.Check10;
    s.KillConnect = f.Check4;
    s.UseProxy = f.Check5;
    s.ProxyAut = f.Check6;
    s.UseCashe = f.Check1;
    s.ClearCasheDown = f.Check2;
    s.ClearCasheExit = f.Check3;
    s.QuickDownload = f.Check11;
    s.AutoCopy = f.Check9;
    s.ClearFolderToCopy = f.Check14;
    s.CreateSubFolders = f.Check12;
    s.CreateMainIndex = f.Check13;
    s.MakeEpub = f.MakeEpubCheck;
    s.KeepIssues = f.KeepIssuesSpin;
    s.KeepDays = f.KeepDaysSpin;
    if (f.FolderFormat >= 1 && f.FolderFormat <= 3)
        s.FolderFormat = f.FolderFormat;
    s.ProxyName = f.Text5;
    s.ProxyPort = f.Text6;
    s.Connections = f.ConnectionsSpin;
    s.ProxyLogin = f.Text7;
    s.ProxyPass = f.Text8;
    s.FileScript = f.Text3;
    s.Browser = f.BrowserText.trimmed();
    s.CSSFontSize = f.FontScroll;
    s.CasheSize = f.CasheScroll;
    // Copying with no folder chosen would only fail after every download.
    if (f.Text9 == options_text::CopyFolderPlaceholder())
        s.AutoCopy = false;
    else
        s.FolderToCopy = f.Text9;
}

OptionsEnabled EnabledBy(const OptionsForm& f, bool issueFoldersExist) {
    OptionsEnabled e;
    e.CasheGroup = f.Check1;
    e.ProxyGroup = f.Check5;
    e.AuthGroup = f.Check5 && f.Check6;
    e.CopyGroup = f.Check9;
    e.Command9 = f.Check9 && f.Check12 && issueFoldersExist;
    e.Command7 = f.Check9 && f.Check13;
    e.Command8 = e.Command7;
    e.Command3 = f.Text2 != 0;
    return e;
}

// The download control refuses such a port only at the first fetch, which
// in an unattended run nobody sees; here the user can still correct it.
ProxyProblem ProxyFieldsProblem(const OptionsForm& f) {
    if (!f.Check5)
        return {};
    if (f.Text5.trimmed().isEmpty())
        return {U("Не указан адрес прокси-сервера."), false};
    bool number = false;
    const uint port = f.Text6.trimmed().toUInt(&number);
    if (!number || port < 1 || port > 65535)
        return {U("Неверный порт прокси-сервера: «") + f.Text6 +
                    U("».\r\nПорт — это число от 1 до 65535."),
                true};
    return {};
}

OptionsController::OptionsController(AppState& app, Download_Control& dc, Messenger& messenger,
                                     OptionsHooks hooks, QObject* parent)
    : QObject(parent), app_(app), DC(dc), messenger_(messenger), hooks_(std::move(hooks)) {
    Timer1.setInterval(Timer1IntervalMs);
    Timer1.setSingleShot(true);
    connect(&Timer1, &QTimer::timeout, this, &OptionsController::Timer1Tick);
}

QString OptionsController::archiveFolder() const {
    return ArchiveFolderPath(app_.ProgramFolder);
}

void OptionsController::Open() {
    QDir().mkpath(archiveFolder());
    Page = 0;
    fill();
    IssueFoldersExist =
        !QDir(archiveFolder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty();
    Q_EMIT changed();
}

void OptionsController::fill() {
    // The font size lives in the stylesheet, not in the record.
    const int16_t stylesheetSize = ReadCssFontSize(app_.ProgramFolder, messenger_);
    form = FormFromSettings(app_.settings, stylesheetSize, DC.SizeCashe());
}

void OptionsController::ShowPage(int page) {
    if (page < 0 || page >= PageCount)
        return;
    Page = page;
    Q_EMIT changed();
}

void OptionsController::FormChanged() {
    Q_EMIT changed();
}

OptionsEnabled OptionsController::enabled() const {
    OptionsEnabled e = EnabledBy(form, IssueFoldersExist);
    e.Command7 = e.Command7 && Command7Resting;
    return e;
}

bool OptionsController::Save() {
    const ProxyProblem problem = ProxyFieldsProblem(form);
    if (!problem.text.isEmpty()) {
        messenger_.Show(problem.text, ErrorTitle, MessageIcon::Warning);
        ShowPage(ProxyPage);
        Q_EMIT focusProxyField(problem.port);
        return false;
    }
    SetOptions();
    return true;
}

void OptionsController::SetOptions() {
    FormToSettings(form, app_.settings);
    saveRecord();
}

void OptionsController::saveRecord() {
    SaveSettings(app_.settings, app_.OptionsINI, app_.ProgramFolder, messenger_,
                 [this](int16_t size) { DC.CasheSize(size); });
    HandProxySettings(DC, app_.settings);
}

void OptionsController::Command6Click() {
    if (messenger_.Show(U("Сбросить настройки по умолчанию и записать их?"), U("Сброс настроек"),
                        MessageIcon::Question,
                        MessageButtons::YesNoDefaultNo) != MessageAnswer::Yes)
        return;
    SetDefaults(app_.settings, app_.ProgramFolder);
    saveRecord();
    fill();
    Q_EMIT changed();
}

void OptionsController::Command3Click() {
    DC.ClearCashe();
    form.Text2 = DC.SizeCashe();
    Q_EMIT changed();
    Q_EMIT focusSave();
}

void OptionsController::Command4Click() {
    if (!hooks_.chooseFile)
        return;
    const QString file = hooks_.chooseFile(U("Выберите процедурный файл"), U("*.txt (*.txt)"));
    if (file.isEmpty())
        return;
    form.Text3 = file;
    app_.settings.FileScript = file;
    Q_EMIT changed();
}

// The program chosen is one word of the command, blanks in its path and all.
void OptionsController::BrowserChooserClick() {
    if (!hooks_.chooseFile)
        return;
    const QString program = hooks_.chooseFile(U("Выберите браузер"), U("Программы (*)"));
    if (program.isEmpty())
        return;
    form.BrowserText = program.contains(' ') ? '"' + program + '"' : program;
    Q_EMIT changed();
}

void OptionsController::Command5Click() {
    if (!hooks_.chooseFolder)
        return;
    const QString folder = hooks_.chooseFolder(U("Выберите директорию для копирования"));
    if (folder.isEmpty())
        return;
    app_.settings.FolderToCopy = folder;
    form.Text9 = folder;
    Q_EMIT changed();
}

void OptionsController::Command10Click() {
    app_.settings.CSSFontSize = form.FontScroll;
    const QString stylesheet = StylesheetPath(app_.ProgramFolder);
    // Checked first: the shift would report a missing stylesheet with the
    // same words, and the user would read the message twice.
    if (!QFileInfo(stylesheet).isFile()) {
        messenger_.Show(U("Я не понял, а куда делся файл ") + stylesheet + " ?!", ErrorTitle,
                        MessageIcon::Question);
        return;
    }
    ApplyCssFontSize(app_.settings.CSSFontSize, app_.ProgramFolder, messenger_);
    Command10Enabled = false;
    Command10Caption = options_text::Copying();
    Q_EMIT changed();
    Q_EMIT focusSave();
    copyStylesheetToArchive(stylesheet);
}

void OptionsController::copyStylesheetToArchive(const QString& stylesheet) {
    QStringList failed;
    const auto folders = QDir(archiveFolder()).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QFileInfo& folder : folders)
        if (!CopyFileOver(stylesheet, folder.filePath() + "/kp.css"))
            failed.append(folder.filePath());
    if (!failed.isEmpty()) {
        // Said plainly rather than announcing an archive that did not change.
        messenger_.Show(U("Не удалось записать kp.css в каталоги:\r\n") + failed.join("\r\n"),
                        ErrorTitle, MessageIcon::Error);
        Command10Caption = options_text::ApplyToArchive();
        Command10Enabled = true;
        Q_EMIT changed();
        return;
    }
    Command10Caption = options_text::Applied();
    Timer1.start();
    Q_EMIT changed();
}

// Both buttons come back as the rules leave them: "Создать сейчас" stays
// disabled when its boxes were cleared meanwhile.
void OptionsController::Timer1Tick() {
    Timer1.stop();
    Command7Caption = options_text::CreateNow();
    Command7Resting = true;
    Command10Caption = options_text::ApplyToArchive();
    Command10Enabled = true;
    Q_EMIT changed();
}

void OptionsController::Command7Click() {
    const QString folder = app_.settings.FolderToCopy;
    const MainIndexResult result = BuildMainIndex(folder, app_.ProgramFolder, messenger_);
    if (result == MainIndexResult::WriteFailed) {
        messenger_.Show(U("Не удалось записать общий индекс ") + folder + "/index.htm", ErrorTitle,
                        MessageIcon::Error);
        return;
    }
    if (result != MainIndexResult::Written)
        return;
    Command7Caption = options_text::IndexCreated();
    Command7Resting = false;
    Timer1.start();
    Q_EMIT changed();
}

void OptionsController::Command8Click() {
    const QString folder = app_.settings.FolderToCopy;
    if (folder.isEmpty()) {
        messenger_.Show(U("Было бы неплохо сначала выбрать каталог назначения и создать общий "
                          "индекс кнопочкой слева."),
                        ErrorTitle, MessageIcon::Information);
        return;
    }
    const QString index = folder + "/index.htm";
    if (!QFileInfo(index).isFile()) {
        messenger_.Show(U("Нечего смотреть. Общий индекс ") + index + U(" не найден."), ErrorTitle,
                        MessageIcon::Error);
        return;
    }
    OpenIssuePage(index, app_.settings, messenger_, hooks_.opener);
}

void OptionsController::Command9Click() {
    if (app_.settings.FolderToCopy.isEmpty()) {
        messenger_.Show(U("Куда копировать-то? Не выбрана директория назначения."), ErrorTitle,
                        MessageIcon::Question);
        return;
    }
    if (hooks_.openArchiveCopier)
        hooks_.openArchiveCopier();
}

#include "moc_options_controller.cpp"
