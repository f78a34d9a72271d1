// The real program started unattended (-kp, -kt) on the offscreen platform
// against the demo site: it downloads the newest issue and ends by itself;
// started again it ends at once, the issue being archived. A newer version
// on the update server is reported, never installed. Started with "/del",
// it deletes the file an update handed over.
#include "settings/ini.h"
#include "settings/settings.h"
#include "tests/support/demo_site.h"
#include "tests/support/program_run.h"
#include "tests/support/scripted_messenger.h"
#include "tests/support/temp_program_folder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

void ExpectUnattendedRuns(const QString& switchText, const QString& folderEnding,
                          const ByteText& contentsPrefix) {
    TempProgramFolder home;
    DemoSite site;
    ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
    ASSERT_TRUE(site.installInto(home.path()));

    ProgramRun first = RunProgram(home.path(), switchText);
    ASSERT_TRUE(first.finished) << "the unattended run must end by itself";
    EXPECT_EQ(first.exitCode, 0);
    const QStringList folders = IssueFolders(home.path());
    ASSERT_EQ(folders.size(), 1);
    EXPECT_TRUE(folders.first().endsWith(folderEnding) == !folderEnding.isEmpty() ||
                folderEnding.isEmpty());
    const QString issue = home.file("Download/" + folders.first());
    EXPECT_TRUE(QFile::exists(issue + "/index.htm"));
    EXPECT_TRUE(QFile::exists(issue + "/page1.html"));
    EXPECT_FALSE(QDir(issue + "/img").entryList(QDir::Files).isEmpty());

    int contentsRequests = 0;
    for (const ByteText& line : site.requestLines())
        contentsRequests += line.startsWith("GET " + contentsPrefix) ? 1 : 0;
    site.clearRequestLog();
    ProgramRun second = RunProgram(home.path(), switchText);
    ASSERT_TRUE(second.finished);
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_EQ(IssueFolders(home.path()), folders);
    for (const ByteText& line : site.requestLines())
        EXPECT_FALSE(line.startsWith("GET " + contentsPrefix) || line.contains("/print"))
            << "nothing of the archived issue is fetched again: " << line.toStdString();
    EXPECT_GT(contentsRequests, 0);
}

TEST(UnattendedProgram, NewspaperDownloadsOnceAndThenEndsAtOnce) {
    ExpectUnattendedRuns("-kp", QString(), "/daily/2");
}

TEST(UnattendedProgram, MagazineDownloadsOnceAndThenEndsAtOnce) {
    ExpectUnattendedRuns("-kt", ".KT", "/print/offline");
}

// The notice also says when the release carries no signature of the
// publisher: the window would not install it either.
TEST(UnattendedProgram, NewerVersionIsReportedOnStandardErrorAndNotInstalled) {
    for (const char* signature : {"good", "none"}) {
        SCOPED_TRACE(signature);
        TempProgramFolder home;
        DemoSite site({"--update-version", "2.2.0", "--update-signature", signature});
        ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
        ASSERT_TRUE(site.installInto(home.path()));
        const ProgramRun run = RunProgram(home.path(), "-kp");
        ASSERT_TRUE(run.finished) << "no window waits for an answer";
        EXPECT_EQ(run.exitCode, 0);
        const QString link = "http://" + site.update() + "/norvel2-2.2.0-update.sh";
        const QString errors = QString::fromUtf8(run.errors);
        EXPECT_TRUE(errors.contains("norvel2: Обновление: Найдена новая версия 2.2.0 (ваша версия "
                                    "- 2.1.7), 68 кб: " +
                                    link))
            << run.errors.toStdString();
        const QString notSigned =
            "Обновление не подписано издателем. Скачайте его со страницы программы.";
        EXPECT_EQ(errors.contains(notSigned), ByteText(signature) == "none");
        EXPECT_EQ(IssueFolders(home.path()).size(), 1) << "the issue is downloaded all the same";
        const QList<ByteText> lines = site.requestLines();
        ASSERT_FALSE(lines.isEmpty());
        EXPECT_EQ(lines.first(), "GET /version.info HTTP/1.0");
        for (const ByteText& line : lines)
            EXPECT_FALSE(line.contains("update.sh") || line.contains("download.php"))
                << line.toStdString();
        EXPECT_FALSE(QFile::exists(home.file("norvel2-2.2.0-update.sh")));
    }
}

// What an update server writes reaches the terminal and the log without a
// control character: no escape sequence acts, no tab adds a log field, and a
// size beyond reason is bounded.
TEST(UnattendedProgram, AnUpdateServersControlCharactersReachNeitherTerminalNorLog) {
    TempProgramFolder home;
    const char served[] = "[Main]\r\nVersion=2.2.0\x1b]0;owned\x07\x1b[31m\tX\0Y\r\n"
                          "FileSize=99999999999999999999999\r\nHost=upd\x1b[2Jate\r\n"
                          "FileName=norvel2.sh\r\n;new\x1b[5m line\r\n";
    home.write("version.info.served", ByteText(served, sizeof served - 1));
    DemoSite site({"--update-info", home.file("version.info.served")});
    ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
    ASSERT_TRUE(site.installInto(home.path()));
    const ProgramRun run = RunProgram(home.path(), "-kp");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0);
    const ByteText log = home.read("norvel.log");
    for (const ByteText& text : {run.errors, run.output, log}) {
        for (char c : text)
            EXPECT_TRUE(uchar(c) >= 0x20 || c == '\n' || c == '\t') << int(c);
        EXPECT_FALSE(text.contains("-9007199254740992"));
    }
    EXPECT_TRUE(run.errorText().contains(QString::fromUtf8("Найдена новая версия 2.2.0]0;owned")))
        << run.errors.constData();
    EXPECT_TRUE(run.errorText().contains(QString::fromUtf8("8796093022208 кб")));
    ASSERT_EQ(log.count('\n'), 1);
    EXPECT_EQ(log.count('\t'), 8) << "the log line's own fields only";
}

// A program folder on the demo site, whose settings (those of a first start)
// send everything through the site's proxy with a login; the proxy demands
// proxyLogin and words its refusal as common proxies do.
struct ProxiedProgram {
    ProxiedProgram(const QString& proxyLogin, const QString& login, const QString& password)
        : site({"--proxy-auth", proxyLogin, "--proxy-auth-required"}) {
        site.installInto(home.path());
        Settings settings;
        SetDefaults(settings, home.path());
        settings.UseProxy = true;
        settings.ProxyName = "127.0.0.1";
        settings.ProxyPort = QString::number(site.proxyPort());
        settings.ProxyAut = true;
        settings.ProxyLogin = login;
        settings.ProxyPass = password;
        INI options;
        ScriptedMessenger quiet;
        SaveSettings(settings, options, home.path(), quiet);
    }
    TempProgramFolder home;
    DemoSite site;
};

TEST(UnattendedProgram, RussianProxyLoginKeptInUtf8DownloadsTheIssue) {
    ProxiedProgram p("читатель:пароль", "читатель", "пароль");
    ASSERT_TRUE(p.site.isRunning()) << p.site.error().toStdString();
    const ProgramRun run = RunProgram(p.home.path(), "-kp");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(IssueFolders(p.home.path()).size(), 1);
}

TEST(UnattendedProgram, RefusedProxyLoginEndsTheRunAfterTheFirstRefusal) {
    ProxiedProgram p("reader:secret", "reader", "wrong");
    ASSERT_TRUE(p.site.isRunning()) << p.site.error().toStdString();
    const ProgramRun run = RunProgram(p.home.path(), "-kp");
    ASSERT_TRUE(run.finished) << "nobody answers the refusal";
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(QString::fromUtf8(run.errors).contains(QString::fromUtf8("отказал в авторизации")))
        << run.errors.toStdString();
    EXPECT_EQ(p.site.requestLines(),
              QList<ByteText>({"GET http://" + p.site.update() + "/version.info HTTP/1.0"}));
    EXPECT_TRUE(IssueFolders(p.home.path()).isEmpty());
}

// The hand-over comes from an update the user started at the screen: the
// program then shows what it did and waits for the user, so the test ends it.
TEST(ProgramHandOver, DelDeletesTheFileTheUpdateNamed) {
    TempProgramFolder home;
    home.write("old setup.sh", "#!/bin/sh\n");
    QProcess program;
    StartProgram(program,
                 {home.path(), {"/del", home.file("old setup.sh")}, {"QT_QPA_PLATFORM=offscreen"}});
    ASSERT_TRUE(program.waitForStarted(10'000));
    QElapsedTimer clock;
    clock.start();
    while (QFile::exists(home.file("old setup.sh")) && clock.elapsed() < 30'000)
        program.waitForFinished(50);
    program.kill();
    program.waitForFinished();
    EXPECT_FALSE(QFile::exists(home.file("old setup.sh")));
}

} // namespace
