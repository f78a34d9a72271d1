#pragma once
// The rules of the settings window "Настройки" (options_window.h), apart from
// its widgets: the values of its controls (OptionsForm), filled from the
// settings record when it opens and copied back by SetOptions; which controls
// the check boxes leave usable; and its direct actions: clearing the response
// cache, the two choosers, the stylesheet applied to the whole archive, the
// main index built and shown, the archive copier and the defaults. The window
// only mirrors the fields below and forwards clicks.
//
// Changes stay in the form until "Сохранить". The choosers, "Применить к
// всему архиву", "По умолчанию" and "Очистить файловый кэш" act on the record
// (and the files) at once, and stay after "Отмена".

#include "app/global.h"
#include "archive/open_page.h"
#include "settings/messenger.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <functional>

class Download_Control;

// What lies beyond the window, set by the program's composition and by
// tests. An unset chooser chooses nothing; an unset copier does nothing.
struct OptionsHooks {
    // OpenFolder and OpenFile (choosers.h): a full path, or empty text when
    // the user cancels.
    std::function<QString(const QString& title)> chooseFolder;
    std::function<QString(const QString& title, const QString& filter)> chooseFile;
    // The archive copier "Копирование архива", shown modally.
    std::function<void()> openArchiveCopier;
    // How "Просмотр" opens the main index.
    PageOpener opener;
};

// The controls of the five pages, by the names the window gives them; the
// setting each one edits is named beside it.
struct OptionsForm {
    // Page 0 "Общие".
    int16_t FolderFormat = 3; // Option5..Option7 give 1..3; 0 when none is selected
    bool Check8 = false;      // DownloadImages
    bool Check7 = false;      // IgnoreErrors
    bool Check10 = false;     // AllwaysIndex
    QString BrowserText;      // Browser
    // Page 1 "Сеть".
    bool Check4 = false;         // KillConnect
    bool Check5 = false;         // UseProxy
    QString Text5;               // ProxyName
    QString Text6;               // ProxyPort
    bool Check6 = false;         // ProxyAut
    QString Text7;               // ProxyLogin
    QString Text8;               // ProxyPass
    int16_t ConnectionsSpin = 6; // Connections, MinConnections..MaxConnections
    // Page 2 "Обработка".
    QString Text3;           // FileScript
    int16_t FontScroll = 11; // CSSFontSize, 8..16; Text4 shows it
    // Page 3 "Кэширование".
    bool Check1 = false;      // UseCashe
    int16_t CasheScroll = 10; // CasheSize, 10..500 by 10; Text1 shows it
    int16_t Text2 = 0;        // files in the cache now
    bool Check2 = false;      // ClearCasheDown
    bool Check3 = false;      // ClearCasheExit
    bool Check11 = false;     // QuickDownload
    // Page 4 "Разное".
    bool Check9 = false;  // AutoCopy
    QString Text9;        // FolderToCopy, or the placeholder
    bool Check14 = false; // ClearFolderToCopy
    bool Check12 = false; // CreateSubFolders
    bool Check13 = false; // CreateMainIndex
    // The group "Для читалки" of the same page.
    bool MakeEpubCheck = false; // MakeEpub
    int16_t KeepIssuesSpin = 0; // KeepIssues, 0..MaxKeepIssues; 0 shows "все"
    int16_t KeepDaysSpin = 0;   // KeepDays, 0..MaxKeepDays; 0 shows "всегда"
};

// The largest values the window offers for KeepIssues and KeepDays.
constexpr int16_t MaxKeepIssues = 999;
constexpr int16_t MaxKeepDays = 3650;

// Which controls the check boxes leave usable.
struct OptionsEnabled {
    bool CasheGroup = false; // "Размер кэша:", "файлов", Text1, CasheScroll, Check2, Check3
    bool ProxyGroup = false; // "Адрес:", "Порт:", Text5, Text6, Check6
    bool AuthGroup = false;  // "Имя:", "Пароль:", Text7, Text8; "BASE64" shown
    bool CopyGroup = false;  // Text9, Command5, Check14, Check12, Check13
    bool Command9 = false;   // "Скопировать весь архив"
    bool Command7 = false;   // "Создать сейчас"
    bool Command8 = false;   // "Просмотр"
    bool Command3 = false;   // "Очистить файловый кэш"
};

namespace options_text {
QString CopyFolderPlaceholder(); // "Выберите каталог назначения  ->"
QString CreateNow();             // Command7 at rest: "Создать сейчас"
QString IndexCreated();          // Command7 after a build: "Индекс создан"
QString ApplyToArchive(); // Command10 at rest: "Применить к всему архиву"
QString Copying();        // Command10 while copying: "Копирую..."
QString Applied();        // Command10 afterwards: "Новый css применен к архиву"
} // namespace options_text

// The form of a record: the stylesheet's size and the cache's file count
// come from outside, not from the record.
OptionsForm FormFromSettings(const Settings& settings, int16_t stylesheetSize, int16_t casheFiles);
// Copies the form into the record: every check box, the folder format when
// one is selected, the texts, the two scroll values; FolderToCopy from Text9
// unless it shows the placeholder, which switches AutoCopy off instead.
void FormToSettings(const OptionsForm& form, Settings& settings);
// The dependency rules between the check boxes. "Скопировать весь архив"
// needs issue folders in the archive besides its two boxes.
OptionsEnabled EnabledBy(const OptionsForm& form, bool issueFoldersExist);
// Why the proxy fields cannot be saved: with the proxy on, its address must
// be given and its port be a number 1..65535.
struct ProxyProblem {
    QString text; // empty when the fields can be saved
    bool port = false;
};
ProxyProblem ProxyFieldsProblem(const OptionsForm& form);

class OptionsController : public QObject {
    Q_OBJECT

public:
    static constexpr int PageCount = 5;
    static constexpr int ProxyPage = 1;
    // Timer1 restores the two buttons' captions after this long.
    static constexpr int Timer1IntervalMs = 5000;

    OptionsController(AppState& app, Download_Control& DC, Messenger& messenger,
                      OptionsHooks hooks = {}, QObject* parent = nullptr);

    // Opening: the archive folder made when missing, page 0, the form filled
    // from the record, the issue folders counted.
    void Open();
    void ShowPage(int page);

    // The check boxes and text fields the user changed: the rules follow.
    void FormChanged();

    // "Сохранить": refuses unusable proxy fields with a message (page
    // "Сеть" shown, focus on the field), else SetOptions. True when saved:
    // the window closes.
    bool Save();
    // Copies the form into the record and saves it; the download control
    // gets the new cache capacity and proxy at once.
    void SetOptions();
    void Command6Click();       // "По умолчанию", after its question
    void Command3Click();       // "Очистить файловый кэш"
    void Command4Click();       // "..." beside the script path
    void Command5Click();       // "..." beside the copy folder
    void BrowserChooserClick(); // "..." beside the browser
    void Command10Click();      // "Применить к всему архиву"
    void Command7Click();       // "Создать сейчас"
    void Command8Click();       // "Просмотр"
    void Command9Click();       // "Скопировать весь архив"
    // The first tick of Timer1: both buttons back to rest.
    void Timer1Tick();

    OptionsEnabled enabled() const;

    // What the window shows.
    OptionsForm form;
    int Page = 0;
    bool IssueFoldersExist = false;
    QString Command7Caption = options_text::CreateNow();
    bool Command7Resting = true; // false while it reads "Индекс создан"
    QString Command10Caption = options_text::ApplyToArchive();
    bool Command10Enabled = true;

    QTimer Timer1; // one tick, 5000 ms after an action

Q_SIGNALS:
    void changed();   // some field above changed
    void focusSave(); // the focus goes to "Сохранить"
    // The focus goes to the proxy field that was refused: the port, or the
    // address.
    void focusProxyField(bool port);

private:
    QString archiveFolder() const;
    void fill();
    void saveRecord();
    void copyStylesheetToArchive(const QString& stylesheet);

    AppState& app_;
    Download_Control& DC;
    Messenger& messenger_;
    OptionsHooks hooks_;
};
