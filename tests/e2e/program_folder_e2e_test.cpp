// The real program and its program folder: one copy per folder whatever the
// runtime folder, a first start on a full disk, a folder whose name
// Windows-1251 cannot hold, and what a killed run left behind.
#include "settings/utf8_text.h"
#include "settings/whole_file.h"
#include "tests/support/demo_site.h"
#include "tests/support/program_run.h"
#include "tests/support/small_file_system.h"
#include "tests/support/temp_program_folder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void stopProgram(QProcess& process) {
    process.kill();
    process.waitForFinished(5000);
}

TEST(ProgramFolderOfTheProgram, ASecondCopyOnTheSameFolderIsRefusedWhateverItsRuntimeFolder) {
    TempProgramFolder home;
    QTemporaryDir runtimeOne, runtimeTwo;
    // The first copy is a window left open: on a platform chosen for it, as
    // no window opens without any display.
    QProcess first;
    StartProgram(
        first,
        {home.path(), {}, {"XDG_RUNTIME_DIR=" + runtimeOne.path(), "QT_QPA_PLATFORM=offscreen"}});
    QElapsedTimer clock;
    clock.start();
    while (!QFileInfo::exists(home.file("options.ini")) && clock.elapsed() < 30'000)
        first.waitForFinished(50);
    ASSERT_TRUE(QFileInfo::exists(home.file(".norvel2.lock")));

    const ProgramRun second =
        RunProgram(home.path(), "-kp", {"XDG_RUNTIME_DIR=" + runtimeTwo.path()}, 30'000);
    stopProgram(first);
    ASSERT_TRUE(second.finished) << "the refused copy ends by itself";
    EXPECT_NE(second.exitCode, 0);
    EXPECT_TRUE(second.errorText().contains(U("Программа уже запущена!"))) << second.errors.data();
    EXPECT_TRUE(QDir(runtimeTwo.path()).isEmpty());
}

TEST(ProgramFolderOfTheProgram, AFirstStartOnAFullDiskSaysSoAndLeavesNoSettingsFile) {
    SmallFileSystem disk(512);
    if (!disk.mounted())
        GTEST_SKIP() << "no small file system: " << disk.why().toStdString();
    CopyBuiltData(disk.path());
    disk.fill();
    const ProgramRun run = RunProgram(disk.path(), "-kp", {}, 30'000);
    const QString options = disk.path() + "/options.ini";
    ASSERT_TRUE(run.finished);
    EXPECT_TRUE(run.errorText().contains(U("Ошибка записи файла ") + options)) << run.errors.data();
    EXPECT_FALSE(QFileInfo::exists(options)) << "no empty settings file";
}

TEST(ProgramFolderOfTheProgram, AFolderOutsideWindows1251ProcessesPagesOnTheSecondRun) {
    TempProgramFolder base(false);
    const QString home = base.file(U("Zażółć"));
    CopyBuiltData(home);
    DemoSite site;
    ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
    ASSERT_TRUE(site.installInto(home));

    const ProgramRun first = RunProgram(home, "-kt", {}, 120'000);
    ASSERT_TRUE(first.finished);
    ASSERT_EQ(first.exitCode, 0) << first.errors.data();
    const ByteText options = ReadWholeFile(home + "/options.ini").value_or("");
    EXPECT_FALSE(options.contains('?')) << options.data();

    // A killed run's hidden file in the magazine issue goes at the next start.
    const QStringList issues =
        QDir(home + "/Download").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(issues.size(), 1);
    const QString leftover = PartFilePath(home + "/Download/" + issues.first() + "/img/a.gif");
    ASSERT_TRUE(WriteWholeFile(leftover + ".x", "half") &&
                QFile::rename(leftover + ".x", leftover));

    const ProgramRun second = RunProgram(home, "-kp", {}, 120'000);
    ASSERT_TRUE(second.finished);
    EXPECT_EQ(second.exitCode, 0) << second.errors.data();
    EXPECT_FALSE(QFileInfo::exists(leftover));
    QDir archive(home + "/Download");
    const QStringList newspaper = archive.entryList({"????.??.??"}, QDir::Dirs);
    ASSERT_EQ(newspaper.size(), 1);
    const QString page = home + "/Download/" + newspaper.first() + "/page1.html";
    const ByteText text = ReadWholeFile(page).value_or("");
    EXPECT_TRUE(text.contains("kp.css")) << "the script ran on the page";
    EXPECT_FALSE(text.contains("/_css/print.css"));
    EXPECT_TRUE(text.contains("<a href=\"index.htm\">")) << "back to the issue's contents";
    EXPECT_FALSE(second.errorText().contains("script")) << second.errors.data();
}

TEST(ProgramFolderOfTheProgram, AScriptPathThatNamesNoFileIsReportedOnce) {
    TempProgramFolder home;
    DemoSite site;
    ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
    ASSERT_TRUE(site.installInto(home.path()));
    home.write("options.ini",
               "[Main]\r\nDownloadImages=True\r\n[Processing]\r\nFileScript=/nowhere/script.txt\r\n"
               "[Cashe]\r\nCasheSize=400\r\n");
    const ProgramRun run = RunProgram(home.path(), "-kp", {}, 120'000);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.errorText().count(U("Не найден файл сценария")), 1) << run.errors.data();
    EXPECT_TRUE(run.errorText().contains("/nowhere/script.txt"));
}

} // namespace
