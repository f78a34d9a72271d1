#include "settings/settings.h"

#include "settings/bytetext.h"
#include "settings/ini.h"

namespace {

void writeText(INI& ini, const char* section, const char* key, const QString& value) {
    ini.WInI(section, key, cp1251::fromUnicode(value));
}

QString readText(INI& ini, const char* section, const char* key) {
    return cp1251::toUnicode(ini.RINI(section, key));
}

void useOptionsFile(INI& optionsIni, const QString& programFolder) {
    optionsIni.setFileName(OptionsFilePath(programFolder));
    // The file holds the proxy password in plain text.
    optionsIni.setOwnerOnly(true);
}

} // namespace

QString OptionsFilePath(const QString& programFolder) {
    return programFolder + "/options.ini";
}

QString StylesheetPath(const QString& programFolder) {
    return programFolder + "/data/kp.css";
}

void SetDefaults(Settings& settings, const QString& programFolder) {
    settings = Settings{};
    settings.FileScript = programFolder + "/data/script.txt";
}

void SaveSettings(const Settings& s, INI& ini, const QString& programFolder, Messenger& messenger,
                  const std::function<void(int16_t)>& applyCasheSize) {
    useOptionsFile(ini, programFolder);
    // The whole record goes to disk in one replace of the file.
    INI::Batch batch(ini);
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
    writeText(ini, "Processing", "FileScript", s.FileScript);
    ini.WInIi("Processing", "CSSFontSize", s.CSSFontSize);

    // A missing or unmarked stylesheet reads as 0 after its message; applying
    // would only repeat that message, so the shift runs on a marked one only.
    const int16_t stylesheetSize = ReadCssFontSize(programFolder, messenger);
    if (stylesheetSize != 0 && stylesheetSize != s.CSSFontSize)
        ApplyCssFontSize(s.CSSFontSize, programFolder, messenger);

    ini.WInIb("Cashe", "UseCashe", s.UseCashe);
    ini.WInIi("Cashe", "CasheSize", s.CasheSize);
    if (applyCasheSize)
        applyCasheSize(s.CasheSize);
    ini.WInIb("Cashe", "ClearCasheDown", s.ClearCasheDown);
    ini.WInIb("Cashe", "ClearCasheExit", s.ClearCasheExit);
    ini.WInIb("Cashe", "QuickDownload", s.QuickDownload);
    ini.WInIb("Addon", "AutoCopy", s.AutoCopy);
    writeText(ini, "Addon", "FolderToCopy", s.FolderToCopy);
    ini.WInIb("Addon", "ClearFolderToCopy", s.ClearFolderToCopy);
    ini.WInIb("Addon", "CreateSubFolders", s.CreateSubFolders);
    ini.WInIb("Addon", "CreateMainIndex", s.CreateMainIndex);
    ini.WInIb("Addon", "UseIE", s.UseIE);
    ini.WInIb("Addon", "MakeEpub", s.MakeEpub);
    ini.WInIi("Addon", "KeepIssues", s.KeepIssues);
    ini.WInIi("Addon", "KeepDays", s.KeepDays);
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
    s.FileScript = readText(ini, "Processing", "FileScript");
    s.CSSFontSize = ReadCssFontSize(programFolder, messenger);
    s.UseCashe = ini.RINIb("Cashe", "UseCashe");
    s.CasheSize = ini.RINIi("Cashe", "CasheSize");
    s.ClearCasheDown = ini.RINIb("Cashe", "ClearCasheDown");
    s.ClearCasheExit = ini.RINIb("Cashe", "ClearCasheExit");
    s.QuickDownload = ini.RINIb("Cashe", "QuickDownload");
    s.AutoCopy = ini.RINIb("Addon", "AutoCopy");
    s.FolderToCopy = readText(ini, "Addon", "FolderToCopy");
    s.ClearFolderToCopy = ini.RINIb("Addon", "ClearFolderToCopy");
    s.CreateSubFolders = ini.RINIb("Addon", "CreateSubFolders");
    s.CreateMainIndex = ini.RINIb("Addon", "CreateMainIndex");
    s.UseIE = ini.RINIb("Addon", "UseIE");
    s.MakeEpub = ini.RINIb("Addon", "MakeEpub");
    s.KeepIssues = ini.RINIi("Addon", "KeepIssues");
    s.KeepDays = ini.RINIi("Addon", "KeepDays");

    // The smallest size is taken for a damaged stylesheet: fall back to the
    // default and let the next save bring the stylesheet along.
    if (s.CSSFontSize == MinCssFontSize) {
        s.CSSFontSize = 11;
        ini.WInIi("Processing", "CSSFontSize", s.CSSFontSize);
    }
}
