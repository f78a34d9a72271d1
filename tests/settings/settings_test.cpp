// The settings file byte for byte, the load rules and the stylesheet's font
// size, on real files in a temporary program folder.
#include "settings/ini.h"
#include "settings/settings.h"
#include "tests/support/scripted_messenger.h"
#include "tests/support/temp_program_folder.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

const char* const Marker = "/* current CSS font-size: ";

class SettingsFile : public ::testing::Test {
protected:
    TempProgramFolder folder{false};
    INI ini;
    ScriptedMessenger messenger;
    Settings settings;

    void SetUp() override {
        givenStylesheet(ByteText(Marker) + "11px; */\r\nbody { font-size: 11px; }\r\n");
    }
    void givenStylesheet(const ByteText& css) { folder.write("data/kp.css", css); }
    ByteText options() const { return folder.read("options.ini"); }
    void load() { LoadSettings(settings, ini, folder.path(), messenger); }
    void saveDefaults() {
        SetDefaults(settings, folder.path());
        SaveSettings(settings, ini, folder.path(), messenger);
    }
};

ByteText firstStartFile(const QString& programFolder) {
    return "[Main]\r\nDownloadImages=True\r\nFolderFormat=3\r\nIgnoreErrors=True\r\n"
           "AllwaysIndex=True\r\n"
           "[Network]\r\nKillConnect=False\r\nUseProxy=False\r\nProxyName=127.0.0.1\r\n"
           "ProxyPort=8080\r\nProxyAut=False\r\nProxyLogin=\r\nProxyPass=\r\nConnections=6\r\n"
           "[Processing]\r\nFileScript=" +
           cp1251::fromUnicode(programFolder) +
           "/data/script.txt\r\nCSSFontSize=11\r\n"
           "[Cashe]\r\nUseCashe=True\r\nCasheSize=400\r\nClearCasheDown=True\r\n"
           "ClearCasheExit=False\r\nQuickDownload=True\r\n"
           "[Addon]\r\nAutoCopy=False\r\nFolderToCopy=\r\nClearFolderToCopy=False\r\n"
           "CreateSubFolders=False\r\nCreateMainIndex=False\r\nUseIE=False\r\nBrowser=\r\n"
           "MakeEpub=False\r\nKeepIssues=0\r\nKeepDays=0\r\n";
}

TEST_F(SettingsFile, FirstStartWritesTheFiveSectionsAndTwentyNineKeysExactly) {
    const mode_t oldMask = ::umask(022);
    saveDefaults();
    ::umask(oldMask);
    EXPECT_EQ(options(), firstStartFile(folder.path()));
    EXPECT_EQ(options().count('='), 29);
    EXPECT_EQ(options().count('['), 5);
    EXPECT_TRUE(messenger.shown().isEmpty());
    // The file holds the proxy password: nobody but its owner may read it.
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(OptionsFilePath(folder.path())).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
}

TEST_F(SettingsFile, SaveThenLoadGivesTheSameRecordIncludingCyrillicText) {
    SetDefaults(settings, folder.path());
    settings.DownloadImages = false;
    settings.FolderFormat = 1;
    settings.UseProxy = true;
    settings.ProxyName = "proxy.local";
    settings.ProxyPort = "3128";
    settings.ProxyAut = true;
    settings.ProxyLogin = QString::fromUtf8("Пользователь");
    settings.ProxyPass = QString::fromUtf8("пароль=с;знаками");
    settings.FileScript = QString::fromUtf8("/home/читатель/мой сценарий.txt");
    settings.CasheSize = -7;
    settings.ClearCasheExit = true;
    settings.AutoCopy = true;
    settings.FolderToCopy = QString::fromUtf8("/media/Копии");
    settings.UseIE = true;
    settings.Browser = QString::fromUtf8("/opt/браузер/run --new-window");
    settings.MakeEpub = true;
    settings.KeepIssues = 7;
    settings.KeepDays = 30;
    SaveSettings(settings, ini, folder.path(), messenger);
    EXPECT_TRUE(options().contains(W("ProxyLogin=Пользователь\r\n")));

    Settings loaded;
    INI freshIni;
    LoadSettings(loaded, freshIni, folder.path(), messenger);
    EXPECT_EQ(loaded.DownloadImages, false);
    EXPECT_EQ(loaded.FolderFormat, 1);
    EXPECT_EQ(loaded.UseProxy, true);
    EXPECT_EQ(loaded.ProxyName, "proxy.local");
    EXPECT_EQ(loaded.ProxyPort, "3128");
    EXPECT_EQ(loaded.ProxyAut, true);
    EXPECT_EQ(loaded.ProxyLogin, settings.ProxyLogin);
    EXPECT_EQ(loaded.ProxyPass, settings.ProxyPass);
    EXPECT_EQ(loaded.FileScript, settings.FileScript);
    EXPECT_EQ(loaded.CSSFontSize, 11);
    EXPECT_EQ(loaded.CasheSize, -7);
    EXPECT_EQ(loaded.ClearCasheExit, true);
    EXPECT_EQ(loaded.QuickDownload, true);
    EXPECT_EQ(loaded.AutoCopy, true);
    EXPECT_EQ(loaded.FolderToCopy, settings.FolderToCopy);
    EXPECT_EQ(loaded.UseIE, true);
    EXPECT_EQ(loaded.Browser, settings.Browser);
    EXPECT_EQ(loaded.MakeEpub, true);
    EXPECT_EQ(loaded.KeepIssues, 7);
    EXPECT_EQ(loaded.KeepDays, 30);
    EXPECT_EQ(freshIni.FileName(), OptionsFilePath(folder.path()));
}

TEST_F(SettingsFile, SaveHandsTheCacheCapacityOn) {
    SetDefaults(settings, folder.path());
    settings.CasheSize = 123;
    int16_t handed = 0;
    SaveSettings(settings, ini, folder.path(), messenger, [&](int16_t size) { handed = size; });
    EXPECT_EQ(handed, 123);
}

TEST_F(SettingsFile, AbsentAndOddValuesLoadAsFalseZeroOrEmpty) {
    folder.write("options.ini", "[Network]\r\nUseProxy=true\r\n[Cashe]\r\nCasheSize=\r\n"
                                "[Main]\r\nFolderFormat=12.5\r\n");
    load();
    EXPECT_FALSE(settings.UseProxy);
    EXPECT_EQ(settings.CasheSize, 0);
    EXPECT_EQ(settings.FolderFormat, 12);
    EXPECT_FALSE(settings.DownloadImages); // absent: not the default
    EXPECT_EQ(settings.ProxyName, "");     // absent: not "127.0.0.1"
    EXPECT_FALSE(settings.QuickDownload);
    folder.write("options.ini", "[Cashe]\r\nCasheSize=13.5\r\n");
    load();
    EXPECT_EQ(settings.CasheSize, 14);
}

// A file from before the setting existed, or one edited by hand, still
// gives a usable number of connections.
TEST_F(SettingsFile, ConnectionsAbsentGiveSixAndOutOfRangeTheNearestEnd) {
    const struct {
        const char* stored;
        int16_t loaded;
    } cases[] = {{nullptr, 6}, {"", 6},  {"many", 6}, {"0", 1},   {"-3", 1},
                 {"1", 1},     {"9", 9}, {"16", 16},  {"17", 16}, {"99999999999", 6}};
    for (const auto& c : cases) {
        const ByteText line = c.stored ? ByteText("Connections=") + c.stored + "\r\n" : ByteText();
        folder.write("options.ini", "[Main]\r\nDownloadImages=True\r\n[Network]\r\n" + line);
        load();
        EXPECT_EQ(settings.Connections, c.loaded) << (c.stored ? c.stored : "absent");
    }
}

TEST_F(SettingsFile, ALongScriptPathLoadsCutTo254Characters) {
    const ByteText longPath = "/" + ByteText(299, 'p');
    folder.write("options.ini", "[Processing]\r\nFileScript=" + longPath + "\r\n");
    load();
    EXPECT_EQ(settings.FileScript, QString::fromLatin1(longPath.left(254)));
}

TEST_F(SettingsFile, TheFontSizeComesFromTheStylesheetNeverFromTheFile) {
    givenStylesheet(ByteText(Marker) + "14px; */\r\n");
    folder.write("options.ini", "[Processing]\r\nCSSFontSize=12\r\n");
    load();
    EXPECT_EQ(settings.CSSFontSize, 14);
    EXPECT_TRUE(options().contains("CSSFontSize=12\r\n")); // the load writes nothing here
}

TEST_F(SettingsFile, AStylesheetStatingEightOrLessLoadsAsElevenAndWritesIt) {
    const ByteText css = ByteText(Marker) + "5px; */\r\np { font-size: 5px; }";
    givenStylesheet(css);
    folder.write("options.ini", "[Processing]\r\nCSSFontSize=5\r\n");
    load();
    EXPECT_EQ(settings.CSSFontSize, 11);
    EXPECT_TRUE(options().contains("CSSFontSize=11\r\n"));
    EXPECT_EQ(folder.read("data/kp.css"), css); // the stylesheet waits for the next save
    SaveSettings(settings, ini, folder.path(), messenger);
    EXPECT_TRUE(folder.read("data/kp.css").startsWith(ByteText(Marker) + "8px;"));
}

TEST_F(SettingsFile, AMissingStylesheetLoadsAsZeroAfterOneMessage) {
    QFile::remove(StylesheetPath(folder.path()));
    folder.write("options.ini", "[Processing]\r\nCSSFontSize=12\r\n");
    load();
    EXPECT_EQ(settings.CSSFontSize, 0);
    ASSERT_EQ(messenger.shown().size(), 1);
    EXPECT_EQ(messenger.shown()[0].text, QString::fromUtf8("Я не понял, а куда делся файл ") +
                                             folder.path() + "/data/kp.css ?!");
    EXPECT_EQ(messenger.shown()[0].title, QString::fromUtf8("Ошибка"));
    EXPECT_EQ(messenger.shown()[0].icon, MessageIcon::Question);
}

TEST_F(SettingsFile, SavingBringsTheStylesheetToTheSettingOnlyWhenItDiffers) {
    saveDefaults(); // stylesheet already at 11
    EXPECT_EQ(folder.read("data/kp.css"),
              ByteText(Marker) + "11px; */\r\nbody { font-size: 11px; }\r\n");
    settings.CSSFontSize = 13;
    SaveSettings(settings, ini, folder.path(), messenger);
    EXPECT_EQ(folder.read("data/kp.css"),
              ByteText(Marker) + "13px; */\r\nbody { font-size: 13px; }\r\n\r\n");
    EXPECT_TRUE(messenger.shown().isEmpty());
}

TEST_F(SettingsFile, SavingWithAnUnmarkedStylesheetSaysSoOnceAndKeepsIt) {
    givenStylesheet("\r\n/* current CSS font-size: 11px; */");
    saveDefaults();
    ASSERT_EQ(messenger.shown().size(), 1);
    EXPECT_EQ(messenger.shown()[0].text,
              QString::fromUtf8("А что случилось с файлом ") + folder.path() + "/data/kp.css ?!");
    EXPECT_EQ(folder.read("data/kp.css"), "\r\n/* current CSS font-size: 11px; */");
    EXPECT_EQ(options(), firstStartFile(folder.path()));
}

TEST_F(SettingsFile, RestoringDefaultsRewritesEveryKeyAndEmptiesThePassword) {
    SetDefaults(settings, folder.path());
    settings.ProxyPass = "secret";
    settings.UseIE = true;
    SaveSettings(settings, ini, folder.path(), messenger);
    saveDefaults();
    EXPECT_EQ(options(), firstStartFile(folder.path()));
}

class Stylesheet : public SettingsFile {};

TEST_F(Stylesheet, TheMarkerSizeIsReadAndLimitedToEightToSixteen) {
    givenStylesheet(ByteText(Marker) + "12px; */");
    EXPECT_EQ(ReadCssFontSize(folder.path(), messenger), 12);
    givenStylesheet(ByteText(Marker) + "5px; */");
    EXPECT_EQ(ReadCssFontSize(folder.path(), messenger), 8);
    givenStylesheet(ByteText(Marker) + "30px; */");
    EXPECT_EQ(ReadCssFontSize(folder.path(), messenger), 16);
    givenStylesheet(ByteText(Marker) + "12.5px; */");
    EXPECT_EQ(ReadCssFontSize(folder.path(), messenger), 12);
    givenStylesheet(ByteText(Marker) + "px; */");
    EXPECT_EQ(ReadCssFontSize(folder.path(), messenger), 8);
    EXPECT_TRUE(messenger.shown().isEmpty());
}

TEST_F(Stylesheet, AMarkerAfterABlankLineIsUnmarked) {
    givenStylesheet("\r\n" + ByteText(Marker) + "12px; */");
    EXPECT_EQ(ReadCssFontSize(folder.path(), messenger), 0);
    ASSERT_EQ(messenger.shown().size(), 1);
    EXPECT_EQ(messenger.shown()[0].title, QString::fromUtf8("Ошибка"));
    EXPECT_EQ(messenger.shown()[0].icon, MessageIcon::Question);
}

TEST_F(Stylesheet, ApplyingShiftsEverySizeByTheSameAmount) {
    givenStylesheet(ByteText(Marker) + "11px; */\r\nh1 { font-size: 13px; }\r\n"
                                       "small {font-size: 9px;}\r\np { font-size: 11px; }");
    ApplyCssFontSize(12, folder.path(), messenger);
    EXPECT_EQ(folder.read("data/kp.css"),
              ByteText(Marker) + "12px; */\r\nh1 { font-size: 14px; }\r\n"
                                 "small {font-size: 10px;}\r\np { font-size: 12px; }\r\n");
    ApplyCssFontSize(8, folder.path(), messenger); // shrink, crossing to one digit
    EXPECT_EQ(folder.read("data/kp.css"),
              ByteText(Marker) + "8px; */\r\nh1 { font-size: 10px; }\r\n"
                                 "small {font-size: 6px;}\r\np { font-size: 8px; }\r\n\r\n");
    ApplyCssFontSize(16, folder.path(), messenger);
    EXPECT_TRUE(folder.read("data/kp.css").contains("font-size: 18px;"));
    EXPECT_EQ(ReadCssFontSize(folder.path(), messenger), 16);
}

TEST_F(Stylesheet, ApplyingTheSameSizeOnlyAddsALineEnd) {
    const ByteText css = ByteText(Marker) + "11px; */\r\nh1 { font-size: 13px; }";
    givenStylesheet(css);
    ApplyCssFontSize(11, folder.path(), messenger);
    EXPECT_EQ(folder.read("data/kp.css"), css + "\r\n");
}

TEST_F(Stylesheet, SizesInOtherUnitsAndTheRestOfTheTextStayAsTheyAre) {
    const ByteText rest = "\r\nh1 { font-size: larger; color: red }\r\n"
                          "h2 { font-size: 1.2em; }\r\nb { font-size:14px; }\r\n"
                          "i { font-size: 10pt; }\r\ntd { font-size: 9px; }\r\n/* end font-size: ";
    givenStylesheet(ByteText(Marker) + "11px; */" + rest);
    ApplyCssFontSize(13, folder.path(), messenger);
    ByteText expected = rest;
    expected.replace("font-size: 9px;", "font-size: 11px;");
    EXPECT_EQ(folder.read("data/kp.css"), ByteText(Marker) + "13px; */" + expected + "\r\n");
}

TEST_F(Stylesheet, AMarkerOutsideTheRangeShiftsFromItsLimit) {
    // The marker reads as 8, so the setting 11 adds 3 to every number as it stands.
    givenStylesheet(ByteText(Marker) + "5px; */ p { font-size: 7px; }");
    ApplyCssFontSize(11, folder.path(), messenger);
    EXPECT_EQ(folder.read("data/kp.css"), ByteText(Marker) + "8px; */ p { font-size: 10px; }\r\n");
}

TEST_F(Stylesheet, AMissingOrUnmarkedStylesheetIsReportedAndLeftAlone) {
    givenStylesheet("body { font-size: 11px; }");
    ApplyCssFontSize(14, folder.path(), messenger);
    EXPECT_EQ(folder.read("data/kp.css"), "body { font-size: 11px; }");
    QFile::remove(StylesheetPath(folder.path()));
    ApplyCssFontSize(14, folder.path(), messenger);
    EXPECT_FALSE(QFile::exists(StylesheetPath(folder.path())));
    ASSERT_EQ(messenger.shown().size(), 2);
    EXPECT_TRUE(
        messenger.shown()[0].text.startsWith(QString::fromUtf8("А что случилось с файлом ")));
    EXPECT_TRUE(messenger.shown()[1].text.startsWith(QString::fromUtf8("Я не понял")));
}

TEST_F(Stylesheet, TheShippedStylesheetIsMarkedAndFollowsTheSetting) {
    TempProgramFolder shipped; // with the real data folder
    EXPECT_EQ(ReadCssFontSize(shipped.path(), messenger), 11);
    const ByteText before = shipped.read("data/kp.css");
    const qsizetype sizes = before.count("font-size: ");
    ASSERT_GT(sizes, 3);
    ApplyCssFontSize(14, shipped.path(), messenger);
    EXPECT_EQ(ReadCssFontSize(shipped.path(), messenger), 14);
    ApplyCssFontSize(11, shipped.path(), messenger);
    EXPECT_EQ(shipped.read("data/kp.css"), before + "\r\n\r\n");
    EXPECT_TRUE(messenger.shown().isEmpty());
}

} // namespace
