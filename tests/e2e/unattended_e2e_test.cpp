// The ends of an unattended run of the real program, started as a scheduler
// starts it (no display) against the demo site: each ends by itself with its
// exit status, its lines on standard error, one summary line and a log line;
// and an issue left unfinished is completed by the next run.
#include "archive/check_in_archive.h"
#include "settings/utf8_text.h"
#include "tests/support/closed_port.h"
#include "tests/support/demo_site.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_program_folder.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

QStringList LogLines(const TempProgramFolder& home) {
    return QString::fromUtf8(home.read("norvel.log")).split('\n', Qt::SkipEmptyParts);
}

struct EndCase {
    const char* name;
    QStringList siteArguments;
    QString switchText;
    int exitStatus;
    QString stderrText;    // the start of standard error; empty: nothing at all
    QString summary;       // a part of the summary line; empty: no summary
    const char* logResult; // the result field of the log line; nullptr: no log
    std::function<void(TempProgramFolder&)> prepare = {};
    QStringList environment = {}; // more "NAME=value" entries for the program
};

void Check(const EndCase& c) {
    SCOPED_TRACE(c.name);
    TempProgramFolder home;
    DemoSite site(c.siteArguments);
    ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
    site.installInto(home.path());
    if (c.prepare)
        c.prepare(home);
    const ProgramRun run = RunProgram(home.path(), c.switchText, c.environment);
    const QString out = QString::fromUtf8(run.output);
    ASSERT_TRUE(run.finished) << "ends by itself";
    EXPECT_EQ(run.exitCode, c.exitStatus);
    // A failed or incomplete download repeats its summary where errors go.
    const QString told = c.exitStatus == 1 ? "norvel2: " + out : QString();
    EXPECT_TRUE(run.errorText().endsWith(told)) << run.errors.toStdString();
    const QString err = run.errorText().chopped(told.size());
    if (c.stderrText.isEmpty()) {
        EXPECT_TRUE(err.isEmpty()) << err.toStdString();
    } else {
        EXPECT_TRUE(err.startsWith(c.stderrText)) << err.toStdString();
    }
    if (c.summary.isEmpty()) {
        EXPECT_TRUE(out.isEmpty()) << out.toStdString();
    } else {
        EXPECT_TRUE(out.contains(c.summary)) << out.toStdString();
        if (c.logResult) {
            EXPECT_EQ(out.count('\n'), 1) << "one summary line";
        }
    }
    const QStringList log = LogLines(home);
    if (c.logResult) {
        ASSERT_EQ(log.size(), 1);
        EXPECT_EQ(log.first().split('\t').value(2), c.logResult) << log.first().toStdString();
    } else {
        EXPECT_TRUE(log.isEmpty());
    }
}

QStringList Fault(const char* rule) {
    return {"--fault", QString::fromLatin1(rule)};
}

TEST(UnattendedEnds, EachEndsByItselfAndSaysHow) {
    const QString help = U("Ключи командной строки:");
    const EndCase cases[] = {
        {"main page 404", Fault("newspaper:^/=404"), "-kp", 1,
         U("norvel2: Внимание!: Не удалось загрузить и(или) обработать главную страницу"),
         U("Ведомир (kp): загрузка не удалась; ошибки: Ошибка при загрузке главной страницы"),
         "failed"},
        {"main page 500", Fault("newspaper:^/=500"), "-kp", 1,
         U("norvel2: Внимание!: Не удалось загрузить и(или) обработать главную страницу"),
         U("Ведомир (kp): загрузка не удалась; ошибки: Ошибка при загрузке главной страницы"),
         "failed"},
        {"an 8-page issue",
         {"--pages", "8", "--images", "0"},
         "-kp",
         0,
         U("norvel2: Внимание!: На сайте http://"),
         U("номер загружен полностью"),
         "complete"},
        {"the announced magazine issue",
         {"--announced", "1"},
         "-kt",
         1,
         U("norvel2: Выбранный номер недоступен для загрузки: Этот номер еженедельника"),
         U("Зенитра (kt): загрузка не удалась"),
         "failed"},
        {"a contents fault", Fault("newspaper:^/daily/2*=404:1"), "-kp", 1,
         U("norvel2: Ошибка: Ошибка при получении оглавления номера Продолжение загрузки "
           "невозможно.\n"),
         U("загрузка не удалась"), "failed"},
        {"a copy folder that does not exist",
         {},
         "-kp",
         0,
         U("norvel2: Копирование: Директория назначения: "),
         U("номер загружен полностью"),
         "complete",
         [](TempProgramFolder& home) {
             WriteOptions(home.path(), [&home](Settings& s) {
                 s.AutoCopy = true;
                 s.FolderToCopy = home.file("missing");
             });
         }},
        {"a page fault not ignored", Fault("newspaper:*3/print/=500"), "-kp", 1, QString(),
         U("загрузка не удалась; номер "), "failed",
         [](TempProgramFolder& home) {
             WriteOptions(home.path(), [](Settings& s) { s.IgnoreErrors = false; });
         }},
        {"a picture answered 500", Fault("newspaper:^/upimg/*=500:1"), "-kp", 1, QString(),
         U("номер загружен не полностью"), "incomplete"},
        // A locale that cannot show Cyrillic changes nothing of what is said.
        {"the C locale",
         Fault("newspaper:^/upimg/*=500:1"),
         "-kp",
         1,
         QString(),
         U("Ведомир (kp): номер загружен не полностью"),
         "incomplete",
         {},
         {"LC_ALL=C"}},
        {"an archive folder that cannot be made",
         {},
         "-kp",
         1,
         QString(),
         U("ошибки: Ошибка записи файла "),
         "failed",
         [](TempProgramFolder& home) { home.write("Download", "a file, not a folder"); }},
        {"a data folder that is missing",
         {},
         "-kp",
         2,
         U("norvel2: Ошибка версии: Служебный каталог "),
         U("Ведомир (kp): запуск невозможен"),
         "not-started",
         [](TempProgramFolder& home) { QDir(home.file("data")).removeRecursively(); }},
        {"an unknown switch", {}, "-x", 2, help, QString(), nullptr},
        {"--help", {}, "--help", 0, QString(), help, nullptr},
        {"--version", {}, "--version", 0, QString(), "norvel2 2.1.7", nullptr},
    };
    for (const EndCase& c : cases)
        Check(c);
}

// A page's write ends in a rename; a folder of the user's in the page's
// place makes it fail for real, and the run says so rather than going on.
TEST(UnattendedEnds, APageThatCannotTakeItsNameFailsTheRunAndTouchesNothing) {
    TempProgramFolder home;
    DemoSite site;
    ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
    site.installInto(home.path());
    const QString page = "Download/2006.11.23/page3.html";
    home.write(page + "/notes.txt", "the user's notes");
    const ProgramRun run = RunProgram(home.path(), "-kp");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 1) << run.output.constData();
    EXPECT_TRUE(run.errorText().contains(U("Ошибка записи файла ") + home.file(page)))
        << run.errors.constData();
    EXPECT_EQ(home.read(page + "/notes.txt"), "the user's notes");
    EXPECT_FALSE(QFile::exists(home.file("Download/2006.11.23/.page3.html.norvel-part")));
    EXPECT_FALSE(QFile::exists(home.file("Download/2006.11.23/page4.html")));
}

TEST(UnattendedEnds, ACompleteIssueAndThenTheArchivedOne) {
    TempProgramFolder home;
    DemoSite site;
    site.installInto(home.path());
    const ProgramRun first = RunProgram(home.path(), "-kp");
    ASSERT_TRUE(first.finished);
    EXPECT_EQ(first.exitCode, 0);
    EXPECT_TRUE(first.errors.isEmpty()) << first.errors.toStdString();
    const QString folder = OnlyIssueFolder(home.path());
    const QRegularExpression summary(
        U("^Ведомир \\(kp\\): номер загружен полностью; номер \\d+ от \\d\\d\\.\\d\\d\\.\\d{4}; "
          "папка ") +
        QRegularExpression::escape(folder) + U("; страниц 24 из 24; изображений 48 из 48\\.\n$"));
    EXPECT_TRUE(summary.match(QString::fromUtf8(first.output)).hasMatch())
        << first.output.toStdString();
    site.clearRequestLog();
    const ProgramRun second = RunProgram(home.path(), "-kp");
    ASSERT_TRUE(second.finished);
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_TRUE(second.errors.isEmpty());
    EXPECT_TRUE(QString::fromUtf8(second.output).contains(U(": номер уже есть в архиве; номер ")));
    EXPECT_EQ(site.requestLines().size(), 3)
        << "the version check, the main page and the archive list only";
    const QStringList log = LogLines(home);
    ASSERT_EQ(log.size(), 2);
    EXPECT_EQ(log.at(0).split('\t').mid(1, 2), QStringList({"kp", "complete"}));
    EXPECT_EQ(log.at(1).split('\t').mid(1, 2), QStringList({"kp", "archived"}));
}

TEST(UnattendedEnds, IncompleteIssueSaysWhatFailedAndIsNotArchived) {
    TempProgramFolder home;
    DemoSite site(Fault("newspaper:*3/print/=500"));
    site.installInto(home.path());
    const ProgramRun run = RunProgram(home.path(), "-kp");
    const QString out = QString::fromUtf8(run.output);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.errorText(), "norvel2: " + out) << "no message but the summary";
    EXPECT_TRUE(out.contains(U("номер загружен не полностью; номер "))) << out.toStdString();
    EXPECT_TRUE(out.contains(U("страниц 21 из 24"))) << out.toStdString();
    EXPECT_TRUE(out.contains(U("не загружены: /daily/"))) << out.toStdString();
    const QStringList folders =
        QDir(home.file("Download")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(folders.size(), 1);
    const ByteText index = home.read("Download/" + folders.first() + "/index.htm");
    EXPECT_TRUE(index.contains("<div class=\"error\">")) << "the index says it is incomplete";
    const QStringList log = LogLines(home);
    ASSERT_EQ(log.size(), 1);
    EXPECT_EQ(log.first().split('\t').mid(1, 1), QStringList{"kp"});
    EXPECT_EQ(log.first().split('\t').value(5), "pages 21/24");
}

TEST(UnattendedEnds, ASecondCopyDoesNotStart) {
    TempProgramFolder home;
    DemoSite site(Fault("newspaper:^/=silent"));
    site.installInto(home.path());
    QProcess first;
    StartProgram(first, {home.path(), {"-kp"}});
    ASSERT_TRUE(WaitUntil([&site] { return !site.requestLines().isEmpty(); }))
        << "the first copy runs";
    const ProgramRun second = RunProgram(home.path(), "-kt");
    first.kill();
    first.waitForFinished();
    ASSERT_TRUE(second.finished);
    EXPECT_EQ(second.exitCode, 2);
    EXPECT_EQ(QString::fromUtf8(second.errors), U("norvel2: Ошибка: Программа уже запущена!\n"));
    EXPECT_TRUE(QString::fromUtf8(second.output).startsWith(U("Зенитра (kt): запуск невозможен")));
    ASSERT_EQ(LogLines(home).size(), 1);
    EXPECT_EQ(LogLines(home).first().split('\t').value(2), "not-started");
}

// Each failure names its cause on standard error (where a scheduler's
// "norvel2 -kp >/dev/null" still shows it), in the summary line and in the log.
TEST(UnattendedEnds, AFailureSaysWhyOnStandardErrorTheSummaryAndTheLog) {
    const quint16 closed = ClosedLocalPort();
    const auto proxy = [](const QString& port, const QString& password) {
        return [port, password](TempProgramFolder& home) {
            WriteOptions(home.path(), [&](Settings& s) {
                s.UseProxy = true;
                s.ProxyName = "127.0.0.1";
                s.ProxyPort = port;
                s.ProxyAut = true;
                s.ProxyLogin = "reader";
                s.ProxyPass = password;
            });
        };
    };
    struct Case {
        const char* name;
        QStringList siteArguments;
        QString why;
        std::function<void(TempProgramFolder&, const DemoSite&)> prepare = {};
    } cases[] = {
        {"expired certificate",
         {"--tls-certificate", "expired"},
         U("Ошибка безопасного соединения: ")},
        {"certificate of another host",
         {"--tls-certificate", "other-name"},
         U("Ошибка безопасного соединения: ")},
        {"proxy refusing with 401",
         {"--proxy-auth", "reader:secret", "--proxy-refuses-401"},
         U("Прокси-сервер 127.0.0.1:%1 отказал в авторизации"),
         [&](TempProgramFolder& home, const DemoSite& site) {
             proxy(QString::number(site.proxyPort()), "wrong")(home);
         }},
        {"proxy not there",
         {},
         U("Прокси-сервер 127.0.0.1:%1 недоступен").arg(closed),
         [&](TempProgramFolder& home, const DemoSite&) {
             proxy(QString::number(closed), "secret")(home);
         }},
        {"contents answered 500", Fault("newspaper:^/daily/24001=500"),
         U("Ошибка при получении оглавления номера")},
        {"contents answered 302", Fault("newspaper:^/daily/24001=302"),
         U("Ошибка при получении оглавления номера")},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempProgramFolder home;
        DemoSite site(c.siteArguments);
        ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
        site.installInto(home.path());
        if (c.prepare)
            c.prepare(home, site);
        const QString why = c.why.contains("%1") ? c.why.arg(site.proxyPort()) : c.why;
        const ProgramRun run = RunProgram(home.path(), "-kp");
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.errorText().contains(why)) << run.errors.constData();
        EXPECT_TRUE(QString::fromUtf8(run.output).contains(why)) << run.output.constData();
        EXPECT_TRUE(LogLines(home).value(0).contains(why)) << home.read("norvel.log").constData();
    }
}

// Read as it is, such a file would turn every setting off: no pictures, no
// processing, and a run that still says complete.
TEST(UnattendedEnds, AnEmptyOrDamagedSettingsFileGivesTheDefaultsAndSaysSo) {
    for (const ByteText& damaged :
         {ByteText(), ByteText("\x01garbage\0\xFF", 11), ByteText("[Network]\r\nUseProxy=0\r\n")}) {
        SCOPED_TRACE(damaged.toHex().toStdString());
        TempProgramFolder home;
        DemoSite site;
        ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
        site.installInto(home.path());
        home.write("options.ini", damaged);
        const ProgramRun run = RunProgram(home.path(), "-kp");
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.exitCode, 0) << run.output.constData();
        EXPECT_TRUE(run.errorText().startsWith(U("norvel2: Внимание!: Файл настроек ") +
                                               home.file("options.ini") + U(" пуст или повреждён")))
            << run.errors.constData();
        EXPECT_EQ(home.read("options.ini.bad"), damaged) << "kept aside as it was";
        EXPECT_TRUE(home.read("options.ini").contains("[Main]"));
        const QString issue = OnlyIssueFolder(home.path());
        EXPECT_GE(QDir(issue + "/img").entryList(QDir::Files).size(), 48)
            << "the 48 pictures fetched, as the defaults say";
    }
}

TEST(UnattendedEnds, AProgramFolderThatCannotBeWrittenIsRefused) {
    TempProgramFolder home;
    DemoSite site;
    site.installInto(home.path());
    // The superuser writes anywhere: the program then runs as nobody.
    const QStringList wrapper = ::geteuid() == 0 ? QStringList{"setpriv", "--reuid=65534",
                                                               "--regid=65534", "--clear-groups"}
                                                 : QStringList{};
    QFile::setPermissions(home.path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                           QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    QProcess program;
    ProgramStart start(home.path(), {"-kp"});
    start.wrapper = wrapper;
    StartProgram(program, start);
    const bool finished = program.waitForFinished(60'000);
    QFile::setPermissions(home.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ASSERT_TRUE(finished);
    EXPECT_EQ(program.exitCode(), 2);
    EXPECT_EQ(QString::fromUtf8(program.readAllStandardError()),
              U("norvel2: Ошибка: Нет доступа на запись в папку ") + home.path() + "\n");
    EXPECT_TRUE(QString::fromUtf8(program.readAllStandardOutput())
                    .startsWith(U("Ведомир (kp): запуск невозможен")));
    EXPECT_EQ(QDir(home.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList({"data", "sites.ini"}))
        << "nothing written";
    EXPECT_TRUE(site.requestLines().isEmpty());
}

} // namespace
