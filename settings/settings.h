#pragma once
// The settings record and its file. One record holds every user setting; it
// is filled once at start (load, or defaults and a save on first start),
// read by every part of the program and written back whole by a save.
// options.ini keeps the record in five sections, Main, Network, Processing,
// Cashe and Addon, the keys in the order of the record below; the names are
// the file format, "Cashe" and "AllwaysIndex" included.
//
// The base font size has its true home in the stylesheet data/kp.css: its
// first characters are a marker stating the size, and a change of the size
// shifts every "font-size: Npx;" in it by the same amount.

#include "settings/bytetext.h"
#include "settings/messenger.h"

#include <QString>
#include <cstdint>
#include <functional>

class INI;

struct Settings {
    // [Main]
    bool DownloadImages = true;
    int16_t FolderFormat = 3; // 1 issue number, 2 DD.MM.YYYY, 3 YYYY.MM.DD
    bool IgnoreErrors = true;
    bool AllwaysIndex = true;
    // [Network]
    bool KillConnect = false;
    bool UseProxy = false;
    QString ProxyName = QStringLiteral("127.0.0.1");
    QString ProxyPort = QStringLiteral("8080");
    bool ProxyAut = false;
    QString ProxyLogin;
    QString ProxyPass; // plain text in the file, hence the owner-only file
    // Fetches at the same time, per host, for an issue's pages and then its
    // pictures; 1 fetches one after another.
    int16_t Connections = 6;
    // [Processing]
    QString FileScript; // program folder + "/data/script.txt" by default
    int16_t CSSFontSize = 11;
    // [Cashe]
    bool UseCashe = true;
    int16_t CasheSize = 400; // capacity of the response cache in files
    bool ClearCasheDown = true;
    bool ClearCasheExit = false;
    bool QuickDownload = true;
    // [Addon]
    bool AutoCopy = false;
    QString FolderToCopy;
    bool ClearFolderToCopy = false;
    bool CreateSubFolders = false;
    bool CreateMainIndex = false;
    bool UseIE = false;
    // The browser "Открывать в выбранном браузере" starts (UseIE on): a
    // program name or path, optionally with arguments; the page follows as
    // one more argument. Empty: the desktop's default handler opens pages.
    QString Browser;
    bool MakeEpub = false;  // an e-book of every issue after its download
    int16_t KeepIssues = 0; // issues kept per source after a download; 0 keeps all
    int16_t KeepDays = 0;   // days an issue is kept after its download; 0 for ever
};

// Smallest and largest base font size the stylesheet marker is read as.
constexpr int16_t MinCssFontSize = 8;
constexpr int16_t MaxCssFontSize = 16;

// programFolder + "/options.ini" and programFolder + "/data/kp.css".
QString OptionsFilePath(const QString& programFolder);
// Whether the settings in programFolder ask for an e-book of every issue
// (MakeEpub), read without loading the settings.
bool MakesBooks(const QString& programFolder);
QString StylesheetPath(const QString& programFolder);

// Whether the settings file at path can be taken as one: it can be read and
// has its [Main] section. An empty file, or one filled with anything else,
// cannot: every setting would read as off without a word.
bool SettingsFileUsable(const QString& path);
// The message when a damaged settings file was kept aside as aside (empty:
// it could not be moved, and the defaults hold for this run only).
QString DamagedSettingsText(const QString& path, const QString& aside);

// Every field to its default; the script path is built from programFolder.
// Writes nothing.
void SetDefaults(Settings& settings, const QString& programFolder);

// "Ошибка записи файла " + path and the likely reasons: the message of every
// write of a settings or stylesheet file that failed.
QString FileWriteErrorText(const QString& path);

// Writes every field to programFolder + "/options.ini" through optionsIni
// (whose FileName it sets); the file is created readable by its owner only.
// Brings the stylesheet to CSSFontSize when it states another size, and
// hands CasheSize to applyCasheSize (the download control) as soon as it is
// written, so a new capacity takes effect at once. A path Windows-1251
// cannot hold (FileScript, FolderToCopy) is kept relative to programFolder
// when it lies inside it, else as a file: address, so it loads back the
// same. When options.ini cannot be written it stays as it was, the failure
// is shown and the result is false (the record keeps its values); false
// too when the stylesheet could not be written.
bool SaveSettings(const Settings& settings, INI& optionsIni, const QString& programFolder,
                  Messenger& messenger, const std::function<void(int16_t)>& applyCasheSize = {});

// Reads every field from programFolder + "/options.ini"; the font size comes
// from the stylesheet, never from the file. A relative path is taken inside
// programFolder. A size of exactly 8 becomes 11
// and 11 is written back as CSSFontSize (the stylesheet follows at the next
// save). Absent keys read as false, 0 or empty text.
// The range of Connections; a file without the key, or with no number in
// it, gives DefaultConnections, a number outside the range its nearest end.
constexpr int16_t MinConnections = 1, MaxConnections = 16, DefaultConnections = 6;
int16_t ConnectionsFrom(const ByteText& stored);

void LoadSettings(Settings& settings, INI& optionsIni, const QString& programFolder,
                  Messenger& messenger);

// The size the stylesheet's marker states, limited to 8..16; 0 after a
// message when the stylesheet is missing or does not begin with the marker.
int16_t ReadCssFontSize(const QString& programFolder, Messenger& messenger);

// Shifts every "font-size: Npx;" of the stylesheet by CSSFontSize minus the
// size its marker states and writes it back (followed by CR LF). A missing or
// unmarked stylesheet is reported and left alone; so is one that cannot be
// written. True when the stylesheet was written.
bool ApplyCssFontSize(int16_t CSSFontSize, const QString& programFolder, Messenger& messenger);
