// A second start of the built program in the same folder says the program
// is running, and the running copy's window then comes forward from the
// task bar.
#include "tests/support/program_run.h"
#include "tests/support/temp_program_folder.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace {

TEST(SecondStart, SaysSoAndBringsTheRunningWindowForward) {
    TempProgramFolder home;
    home.write("first.txt", "minimize\nfront\nclick Выход\n");
    home.write("second.txt", "click OK\n");
    QProcess first;
    StartDrivenProgram(first, home.path(), home.file("first.txt"));
    QByteArray firstSaid;
    ASSERT_TRUE(WaitUntil([&] {
        firstSaid += first.readAllStandardError();
        return firstSaid.contains("ui driver: minimize");
    })) << firstSaid.toStdString();

    const ProgramRun second = RunDrivenProgram(home.path(), home.file("second.txt"));
    EXPECT_TRUE(second.finished);
    EXPECT_TRUE(second.errors.contains("ui driver: click OK")) << second.errors.toStdString();
    EXPECT_NE(second.exitCode, 0);

    ASSERT_TRUE(first.waitForFinished(60'000));
    firstSaid += first.readAllStandardError();
    EXPECT_EQ(first.exitCode(), 0) << firstSaid.toStdString();
    EXPECT_TRUE(firstSaid.contains("ui driver: front")) << firstSaid.toStdString();
}

} // namespace
