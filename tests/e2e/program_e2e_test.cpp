// The real program started unattended (-kp, -kt) without a display against
// the demo site: it downloads the newest issue and ends by itself;
// started again it ends at once, the issue being archived.
#include "tests/e2e/program_run.h"
#include "tests/support/demo_site.h"
#include "tests/support/temp_program_folder.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

QStringList IssueFolders(const TempProgramFolder& home) {
    return QDir(home.file("Download")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
}

void ExpectUnattendedRuns(const QString& switchText, const QString& folderEnding,
                          const ByteText& contentsPrefix) {
    TempProgramFolder home;
    DemoSite site;
    ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
    ASSERT_TRUE(site.installInto(home.path()));

    ProgramRun first = RunProgram(home.path(), {switchText});
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

    EXPECT_TRUE(first.err.isEmpty()) << first.err.toStdString();
    EXPECT_TRUE(first.out.contains(QString::fromUtf8(": номер загружен полностью; номер ")))
        << first.out.toStdString();
    EXPECT_EQ(first.out.count('\n'), 1) << "one summary line";

    int contentsRequests = 0;
    for (const ByteText& line : site.requestLines())
        contentsRequests += line.startsWith("GET " + contentsPrefix) ? 1 : 0;
    site.clearRequestLog();
    ProgramRun second = RunProgram(home.path(), {switchText});
    ASSERT_TRUE(second.finished);
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_TRUE(second.out.contains(QString::fromUtf8(": номер уже есть в архиве; номер ")))
        << second.out.toStdString();
    EXPECT_TRUE(second.out.contains(home.file("Download/" + folders.first())));
    const QStringList log =
        QString::fromUtf8(home.read("norvel.log")).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(log.size(), 2);
    EXPECT_EQ(log.at(0).split('\t').value(2), "complete");
    EXPECT_EQ(log.at(1).split('\t').value(2), "archived");
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
