#include "settings/settings.h"

#include "settings/bytetext.h"
#include "settings/ini.h"
#include "settings/whole_file.h"

#include <QDir>
#include <QUrl>
#include <algorithm>

namespace {

const QString ErrorTitle = QString::fromUtf8("Ошибка");

void writeText(INI& ini, const char* section, const char* key, const QString& value) {
    ini.WInI(section, key, cp1251::fromUnicode(value));
}

QString readText(INI& ini, const char* section, const char* key) {
    return cp1251::toUnicode(ini.RINI(section, key));
}

// A path goes into the file as it is when Windows-1251 can hold it. One the
// code page cannot hold ("Zażółć") would come back as "Za????": inside the
// program folder it is kept relative to it, elsewhere as a file: address,
// whose ASCII reads back the same.
bool codePageHolds(const QString& text) {
    return cp1251::toUnicode(cp1251::fromUnicode(text)) == text;
}

void writePath(INI& ini, const char* section, const char* key, const QString& path,
               const QString& programFolder) {
    QString stored = path;
    if (!codePageHolds(path)) {
        const QString relative = QDir(programFolder).relativeFilePath(path);
        const bool inside =
            !relative.startsWith(QLatin1String("..")) && !QDir::isAbsolutePath(relative);
        stored = inside && codePageHolds(relative)
                     ? relative
                     : QString::fromLatin1(QUrl::fromLocalFile(path).toEncoded());
    }
    ini.WInI(section, key, cp1251::fromUnicode(stored));
}

QString readPath(INI& ini, const char* section, const char* key, const QString& programFolder) {
    const QString stored = readText(ini, section, key);
    if (stored.startsWith(QLatin1String("file:")))
        return QUrl::fromEncoded(stored.toLatin1()).toLocalFile();
    if (!stored.isEmpty() && QDir::isRelativePath(stored))
        return programFolder + "/" + stored;
    return stored;
}

void useOptionsFile(INI& optionsIni, const QString& programFolder) {
    optionsIni.setFileName(OptionsFilePath(programFolder));
    // The file holds the proxy password in plain text.
    optionsIni.setOwnerOnly(true);
}

// Every field in the order of the file; the stylesheet follows the font size
// on the way.
void writeRecord(const Settings& s, INI& ini, const QString& programFolder, Messenger& messenger,
                 const std::function<void(int16_t)>& applyCasheSize, bool& stylesheetWritten) {
    ini.WInIb("Main", "DownloadImages", s.DownloadImages);
    ini.WInIi("Main", "FolderFormat", s.FolderFormat);
    ini.WInIb("Main", "IgnoreErrors", s.IgnoreErrors);
    ini.WInIb("Main", "AllwaysIndex", s.AllwaysIndex);
    ini.WInIb("Network", "KillConnect", s.KillConnect);
    ini.WInIb("Network", "UseProxy", s.UseProxy);
    writeText(ini, "Network", "ProxyName", s.ProxyName);
    writeText(ini, "Network", "ProxyPort", s.ProxyPort);
    ini.WInIb("Network", "ProxyAut", s.ProxyAut);
    writeText(ini, "Network", "ProxyLogin", s.ProxyLogin);
    writeText(ini, "Network", "ProxyPass", s.ProxyPass);
    ini.WInIi("Network", "Connections", s.Connections);
    writePath(ini, "Processing", "FileScript", s.FileScript, programFolder);
    ini.WInIi("Processing", "CSSFontSize", s.CSSFontSize);

    // A missing or unmarked stylesheet reads as 0 after its message; applying
    // would only repeat that message, so the shift runs on a marked one only.
    const int16_t stylesheetSize = ReadCssFontSize(programFolder, messenger);
    if (stylesheetSize != 0 && stylesheetSize != s.CSSFontSize)
        stylesheetWritten = ApplyCssFontSize(s.CSSFontSize, programFolder, messenger);

    ini.WInIb("Cashe", "UseCashe", s.UseCashe);
    ini.WInIi("Cashe", "CasheSize", s.CasheSize);
    if (applyCasheSize)
        applyCasheSize(s.CasheSize);
    ini.WInIb("Cashe", "ClearCasheDown", s.ClearCasheDown);
    ini.WInIb("Cashe", "ClearCasheExit", s.ClearCasheExit);
    ini.WInIb("Cashe", "QuickDownload", s.QuickDownload);
    ini.WInIb("Addon", "AutoCopy", s.AutoCopy);
    writePath(ini, "Addon", "FolderToCopy", s.FolderToCopy, programFolder);
    ini.WInIb("Addon", "ClearFolderToCopy", s.ClearFolderToCopy);
    ini.WInIb("Addon", "CreateSubFolders", s.CreateSubFolders);
    ini.WInIb("Addon", "CreateMainIndex", s.CreateMainIndex);
    ini.WInIb("Addon", "UseIE", s.UseIE);
    writeText(ini, "Addon", "Browser", s.Browser);
    ini.WInIb("Addon", "MakeEpub", s.MakeEpub);
    ini.WInIi("Addon", "KeepIssues", s.KeepIssues);
    ini.WInIi("Addon", "KeepDays", s.KeepDays);
}

} // namespace

QString FileWriteErrorText(const QString& path) {
    return QString::fromUtf8("Ошибка записи файла ") + path +
           QString::fromUtf8("\r\nНет места на диске либо нет прав на запись.");
}

QString OptionsFilePath(const QString& programFolder) {
    return programFolder + "/options.ini";
}

bool MakesBooks(const QString& programFolder) {
    INI ini;
    ini.setFileName(OptionsFilePath(programFolder));
    return ini.RINIb("Addon", "MakeEpub");
}

QString StylesheetPath(const QString& programFolder) {
    return programFolder + "/data/kp.css";
}

void SetDefaults(Settings& settings, const QString& programFolder) {
    settings = Settings{};
    settings.FileScript = programFolder + "/data/script.txt";
}

bool SaveSettings(const Settings& s, INI& ini, const QString& programFolder, Messenger& messenger,
                  const std::function<void(int16_t)>& applyCasheSize) {
    useOptionsFile(ini, programFolder);
    bool stylesheetWritten = true;
    {
        // The whole record goes to disk in one replace of the file.
        INI::Batch batch(ini);
        writeRecord(s, ini, programFolder, messenger, applyCasheSize, stylesheetWritten);
    }
    if (ini.WriteFailed()) {
        messenger.Show(FileWriteErrorText(OptionsFilePath(programFolder)), ErrorTitle,
                       MessageIcon::Error);
        return false;
    }
    return stylesheetWritten;
}
bool SettingsFileUsable(const QString& path) {
    const std::optional<ByteText> text = ReadWholeFile(path);
    if (!text)
        return false;
    for (const ByteText& line : text->split('\n'))
        if (line.trimmed().toLower() == "[main]")
            return true;
    return false;
}

QString DamagedSettingsText(const QString& path, const QString& aside) {
    const QString damaged = QString::fromUtf8("Файл настроек ") + QDir::toNativeSeparators(path) +
                            QString::fromUtf8(" пуст или повреждён");
    if (aside.isEmpty())
        return damaged +
               QString::fromUtf8(": до его исправления действуют настройки по умолчанию.");
    return damaged + QString::fromUtf8(": он сохранён как ") + QDir::toNativeSeparators(aside) +
           QString::fromUtf8(", записаны настройки по умолчанию.");
}

int16_t ConnectionsFrom(const ByteText& stored) {
    bool number = false;
    const int value = stored.trimmed().toInt(&number);
    if (!number)
        return DefaultConnections;
    return int16_t(std::clamp<int>(value, MinConnections, MaxConnections));
}

void LoadSettings(Settings& s, INI& ini, const QString& programFolder, Messenger& messenger) {
    useOptionsFile(ini, programFolder);
    s.DownloadImages = ini.RINIb("Main", "DownloadImages");
    s.FolderFormat = ini.RINIi("Main", "FolderFormat");
    s.IgnoreErrors = ini.RINIb("Main", "IgnoreErrors");
    s.AllwaysIndex = ini.RINIb("Main", "AllwaysIndex");
    s.KillConnect = ini.RINIb("Network", "KillConnect");
    s.UseProxy = ini.RINIb("Network", "UseProxy");
    s.ProxyName = readText(ini, "Network", "ProxyName");
    s.ProxyPort = readText(ini, "Network", "ProxyPort");
    s.ProxyAut = ini.RINIb("Network", "ProxyAut");
    s.ProxyLogin = readText(ini, "Network", "ProxyLogin");
    s.ProxyPass = readText(ini, "Network", "ProxyPass");
    s.Connections = ConnectionsFrom(ini.RINI("Network", "Connections"));
    s.FileScript = readPath(ini, "Processing", "FileScript", programFolder);
    s.CSSFontSize = ReadCssFontSize(programFolder, messenger);
    s.UseCashe = ini.RINIb("Cashe", "UseCashe");
    s.CasheSize = ini.RINIi("Cashe", "CasheSize");
    s.ClearCasheDown = ini.RINIb("Cashe", "ClearCasheDown");
    s.ClearCasheExit = ini.RINIb("Cashe", "ClearCasheExit");
    s.QuickDownload = ini.RINIb("Cashe", "QuickDownload");
    s.AutoCopy = ini.RINIb("Addon", "AutoCopy");
    s.FolderToCopy = readPath(ini, "Addon", "FolderToCopy", programFolder);
    s.ClearFolderToCopy = ini.RINIb("Addon", "ClearFolderToCopy");
    s.CreateSubFolders = ini.RINIb("Addon", "CreateSubFolders");
    s.CreateMainIndex = ini.RINIb("Addon", "CreateMainIndex");
    s.UseIE = ini.RINIb("Addon", "UseIE");
    s.Browser = readText(ini, "Addon", "Browser");
    s.MakeEpub = ini.RINIb("Addon", "MakeEpub");
    s.KeepIssues = ini.RINIi("Addon", "KeepIssues");
    s.KeepDays = ini.RINIi("Addon", "KeepDays");

    // The smallest size is taken for a damaged stylesheet: fall back to the
    // default and let the next save bring the stylesheet along.
    if (s.CSSFontSize == MinCssFontSize) {
        s.CSSFontSize = 11;
        ini.WInIi("Processing", "CSSFontSize", s.CSSFontSize);
        if (ini.WriteFailed())
            messenger.Show(FileWriteErrorText(OptionsFilePath(programFolder)), ErrorTitle,
                           MessageIcon::Error);
    }
}
