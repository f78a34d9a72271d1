// The settings window's rules without its widgets: the form copied from and
// back to the record, the proxy fields it refuses, and the page opener's
// choice of a browser. The dependency rules are checked on the window.
#include "app/options_controller.h"
#include "archive/open_page.h"
#include "settings/ini.h"
#include "tests/support/scripted_messenger.h"
#include "tests/support/temp_program_folder.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

Settings NothingAsDefault() {
    Settings s;
    s.DownloadImages = false;
    s.FolderFormat = 1;
    s.IgnoreErrors = false;
    s.AllwaysIndex = false;
    s.KillConnect = true;
    s.UseProxy = true;
    s.ProxyName = "proxy.local";
    s.ProxyPort = "3128";
    s.ProxyAut = true;
    s.ProxyLogin = QString::fromUtf8("читатель");
    s.ProxyPass = "secret";
    s.FileScript = "/srv/script.txt";
    s.CSSFontSize = 14;
    s.UseCashe = false;
    s.CasheSize = 120;
    s.ClearCasheDown = false;
    s.ClearCasheExit = true;
    s.QuickDownload = false;
    s.AutoCopy = true;
    s.FolderToCopy = "/media/copy";
    s.ClearFolderToCopy = true;
    s.CreateSubFolders = true;
    s.CreateMainIndex = true;
    s.Connections = 3;
    s.Browser = "firefox --private-window";
    s.MakeEpub = true;
    s.KeepIssues = 5;
    s.KeepDays = 30;
    return s;
}

// The record as options.ini holds it, every field in one text.
ByteText Saved(const Settings& settings) {
    TempProgramFolder folder;
    INI ini;
    ScriptedMessenger messenger;
    SaveSettings(settings, ini, folder.path(), messenger);
    return folder.read("options.ini");
}

// The test below proves something only while every field it carries differs
// from its default: a setting added later is named here until it does.
// UseIE is the archive window's, not the settings window's.
TEST(OptionsForm, TheRecordItIsCheckedOnDiffersFromTheDefaultsInEveryField) {
    const QList<ByteText> defaults = Saved(Settings{}).split('\n');
    const QList<ByteText> given = Saved(NothingAsDefault()).split('\n');
    ASSERT_EQ(given.size(), defaults.size());
    int fields = 0;
    for (qsizetype i = 0; i < defaults.size(); ++i) {
        if (!defaults[i].contains('=') || defaults[i].startsWith("UseIE="))
            continue;
        ++fields;
        EXPECT_NE(given[i], defaults[i]) << "stays at its default: " << defaults[i].constData();
    }
    EXPECT_GT(fields, 25);
}

// Every field differs from its default, so a control wired to the wrong
// setting, or to none, shows as a difference.
TEST(OptionsForm, CarriesEveryFieldToTheRecordAndBack) {
    const Settings given = NothingAsDefault();
    const OptionsForm form = FormFromSettings(given, 14, 7);
    EXPECT_EQ(form.Text2, 7);
    Settings back; // defaults
    FormToSettings(form, back);
    EXPECT_EQ(Saved(back), Saved(given));
}

TEST(OptionsForm, ShowsWhatTheScrollControlsCanHoldAndAPlaceholderForNoFolder) {
    Settings s;
    s.FolderFormat = 7;
    s.CasheSize = 0;
    s.FolderToCopy.clear();
    s.AutoCopy = true;
    OptionsForm form = FormFromSettings(s, 0, 0);
    EXPECT_EQ(form.FolderFormat, 0) << "no option button matches format 7";
    EXPECT_EQ(form.FontScroll, 8);
    EXPECT_EQ(form.CasheScroll, 10);
    EXPECT_EQ(form.Text9, options_text::CopyFolderPlaceholder());

    // Nothing selected leaves the format alone; the placeholder turns the
    // copy off and leaves the folder alone.
    s.FolderToCopy = "/kept";
    FormToSettings(form, s);
    EXPECT_EQ(s.FolderFormat, 7);
    EXPECT_FALSE(s.AutoCopy);
    EXPECT_EQ(s.FolderToCopy, "/kept");
}

TEST(OptionsRules, RefuseAProxyPortThatIsNoNumberFrom1To65535) {
    OptionsForm f;
    f.Check5 = true;
    f.Text5 = "127.0.0.1";
    for (const char* port : {"", "abc", "80a", "0", "65536", "-1", "8080.5"}) {
        f.Text6 = port;
        const ProxyProblem problem = ProxyFieldsProblem(f);
        EXPECT_FALSE(problem.text.isEmpty()) << port;
        EXPECT_TRUE(problem.port) << port;
    }
    for (const char* port : {"1", "8080", " 3128 ", "65535"}) {
        f.Text6 = port;
        EXPECT_TRUE(ProxyFieldsProblem(f).text.isEmpty()) << port;
    }
    f.Text5 = "  ";
    EXPECT_FALSE(ProxyFieldsProblem(f).port) << "the address is what is missing";
    EXPECT_FALSE(ProxyFieldsProblem(f).text.isEmpty());
    // A proxy that is off is never used: its fields are not held against
    // the user, who cannot even edit them.
    f.Check5 = false;
    f.Text6 = "junk";
    EXPECT_TRUE(ProxyFieldsProblem(f).text.isEmpty());
}

// A browser installed but not chosen is not used: an empty choice means the
// desktop's own handler, whatever the desktop's default browser is.
TEST(PageOpener, GivesThePageToTheChosenBrowserOnlyElseToTheDesktop) {
    TempProgramFolder bin(false);
    bin.write("chromium", "#!/bin/sh\n");
    QFile::setPermissions(bin.file("chromium"), QFile::ReadOwner | QFile::ExeOwner);
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", bin.path().toLocal8Bit());

    QString started;
    QUrl opened;
    PageOpener opener;
    opener.startProgram = [&](const QString& program, const QStringList& arguments) {
        started = program + " " + arguments.join('|');
        return true;
    };
    opener.openUrl = [&](const QUrl& url) {
        opened = url;
        return true;
    };
    const QString chosen = "\"" + bin.file("my browser") + "\" --new-window";
    EXPECT_EQ(OpenPage("/copy/index.htm", true, chosen, opener), PageOpenResult::Opened);
    EXPECT_EQ(started, bin.file("my browser") + " --new-window|/copy/index.htm");
    EXPECT_TRUE(opened.isEmpty());

    started.clear();
    for (bool inBrowser : {true, false}) {
        opened.clear();
        EXPECT_EQ(OpenPage("/copy/index.htm", inBrowser, {}, opener), PageOpenResult::Opened);
        EXPECT_EQ(opened, QUrl::fromLocalFile("/copy/index.htm"));
    }
    EXPECT_TRUE(started.isEmpty()) << started.toStdString();
    qputenv("PATH", oldPath);
}

} // namespace
