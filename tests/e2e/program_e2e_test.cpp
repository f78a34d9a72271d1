// The real program started unattended (-kp, -kt) on the offscreen platform
// against the demo site: it downloads the newest issue and ends by itself;
// started again it ends at once, the issue being archived.
#include "tests/support/demo_site.h"
#include "tests/support/temp_program_folder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

struct ProgramRun {
    int exitCode = -1;
    bool finished = false;
    qint64 ms = 0;
};

ProgramRun RunProgram(const QString& home, const QString& switchText) {
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("NORVEL_HOME", home);
    program.setProcessEnvironment(env);
    QElapsedTimer clock;
    clock.start();
    program.start(TempProgramFolder::binDir() + "/norvel2", {switchText});
    ProgramRun run;
    run.finished = program.waitForFinished(120'000);
    if (!run.finished) {
        program.kill();
        program.waitForFinished();
    }
    run.exitCode = program.exitCode();
    run.ms = clock.elapsed();
    return run;
}

QStringList IssueFolders(const TempProgramFolder& home) {
    return QDir(home.file("Download")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
}

void ExpectUnattendedRuns(const QString& switchText, const QString& folderEnding,
                          const ByteText& contentsPrefix) {
    TempProgramFolder home;
    DemoSite site;
    ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
    ASSERT_TRUE(site.installInto(home.path()));

    ProgramRun first = RunProgram(home.path(), switchText);
    ASSERT_TRUE(first.finished) << "the unattended run must end by itself";
    EXPECT_EQ(first.exitCode, 0);
    const QStringList folders = IssueFolders(home);
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
    EXPECT_EQ(IssueFolders(home), folders);
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

} // namespace
