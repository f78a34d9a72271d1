// "Открыть номер": after a download the main window offers the issue, a
// click opens its index page, and the next download takes the offer back.
// Once in-process through the real windows, once through the built program
// driven like a user, together with "Архив" and its "Открыть".
#include "settings/ini.h"
#include "tests/e2e/e2e_fixture.h"
#include "tests/support/program_run.h"

#include <QDir>
#include <QLabel>
#include <gtest/gtest.h>

namespace {

void ClickLink(QLabel* label) {
    QTest::mouseClick(label, Qt::LeftButton, {},
                      QPoint(label->contentsRect().left() + 6, label->height() / 2));
}

TEST(OpenIssue, TheMainWindowOffersTheDownloadedIssueUntilTheNextDownload) {
    E2ERun run;
    ASSERT_TRUE(run.ready());
    QStringList opened;
    run.controller.hooks.openIssue = [&opened](const QString& page) { opened.append(page); };
    EXPECT_FALSE(run.window.OpenIssueLink->isVisible());

    run.Download(NewspaperSource);
    ASSERT_EQ(run.controller.Stat, Loaded);
    ASSERT_TRUE(run.window.OpenIssueLink->isVisible());
    EXPECT_TRUE(run.window.OpenIssueLink->text().contains(QString::fromUtf8(">Открыть номер<")));
    ClickLink(run.window.OpenIssueLink);
    EXPECT_EQ(opened, QStringList({run.folder() + "/index.htm"}));
    EXPECT_TRUE(QFile::exists(opened.first()));

    // A stopped download offers nothing, and its start took the old offer back.
    bool offeredAtStart = true;
    QObject::connect(&run.controller, &MainController::changed, [&] {
        if (run.controller.Stat == QString::fromUtf8("Загрузка главной страницы..."))
            offeredAtStart = run.window.OpenIssueLink->isVisible();
    });
    run.messenger.answer(MessageAnswer::Yes);
    run.StopWhenStatus(QString::fromUtf8("Загрузка страницы 2 из 24..."));
    run.Download(NewspaperSource);
    EXPECT_FALSE(offeredAtStart);
    EXPECT_EQ(run.controller.Stat, QString::fromUtf8("Загрузка прервана пользователем"));
    EXPECT_FALSE(run.window.OpenIssueLink->isVisible());
}

// The built program: "Загрузить", "Загрузка" in the selection window, the
// issue opened by "Открыть номер", then "Архив", its one issue and
// "Открыть", then "Выход". The browser the settings name is a script that
// writes down the page it was given.
TEST(OpenIssueProgram, TheIssueOpensFromTheMainWindowAndFromTheArchiveWindow) {
    TempProgramFolder home;
    DemoSite site;
    ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
    ASSERT_TRUE(site.installInto(home.path()));
    home.write("browser.sh", "#!/bin/sh\nprintf '%s\\n' \"$@\" >> \"$0.pages\"\n");
    QFile::setPermissions(home.file("browser.sh"), QFile::ReadOwner | QFile::ExeOwner);
    Settings settings;
    SetDefaults(settings, home.path());
    settings.UseIE = true;
    settings.Browser = home.file("browser.sh");
    ScriptedMessenger messenger;
    INI options;
    SaveSettings(settings, options, home.path(), messenger);
    home.write("steps.txt", "click Загрузить\n"
                            "click Загрузка\n"
                            "wait Номер загружен\n"
                            "link Открыть номер\n"
                            "click Архив\n"
                            "row 0\n"
                            "click Открыть\n"
                            "click Выход\n");

    const ProgramRun run = RunDrivenProgram(home.path(), home.file("steps.txt"));
    ASSERT_TRUE(run.finished) << run.errors.toStdString();
    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
    const QStringList issues =
        QDir(home.file("Download")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(issues.size(), 1);
    const QByteArray page = home.file("Download/" + issues.first() + "/index.htm").toUtf8();
    QByteArray pages;
    for (int waited = 0; waited < 10'000 && pages.count('\n') < 2; waited += 50) {
        QTest::qWait(50);
        pages = home.read("browser.sh.pages");
    }
    EXPECT_EQ(pages, page + "\n" + page + "\n") << run.errors.toStdString();
}

} // namespace
