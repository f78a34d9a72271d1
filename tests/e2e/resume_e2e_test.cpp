// An issue left unfinished is completed by the next unattended run of the
// real program into the same folder: the pages already saved are not fetched
// again, and the result equals an uninterrupted download from the same site.
#include "archive/check_in_archive.h"
#include "archive/page_record.h"
#include "processing/issue_index.h"
#include "settings/whole_file.h"
#include "tests/e2e/e2e_fixture.h"
#include "tests/support/program_run.h"
#include "tests/support/small_file_system.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

// Page 6 of the newest issue answers nothing, once.
const QStringList SilentSixthPage = {"--fault", "newspaper:*06/print/=silent:1"};

// Every file of an issue folder by its path inside the folder.
QMap<QString, QByteArray> IssueFiles(const QString& folder) {
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        files.insert(QDir(folder).relativeFilePath(path), file.readAll());
    }
    return files;
}

QList<ByteText> PageRequests(const DemoSite& site) {
    QList<ByteText> pages;
    for (const ByteText& line : site.requestLines())
        if (line.contains("/print/"))
            pages.append(line);
    return pages;
}

// Starts the program fetching one page at a time and kills it (SIGKILL: no
// clean-up of any kind) while page 6 waits for its answer, pages 1 to 5
// saved. The next run fetches as many at a time as the settings say.
bool KilledAtTheSixthPage(const QString& home, const DemoSite& site) {
    WriteOptions(home, [](Settings& s) { s.Connections = 1; });
    QProcess first;
    StartProgram(first, {home, {"-kp"}});
    const bool reached = WaitUntil([&site] { return PageRequests(site).size() == 6; });
    first.kill();
    first.waitForFinished();
    WriteOptions(home, [](Settings& s) { s.Connections = DefaultConnections; });
    return reached;
}

// Pages 1 to n.
QList<int> FirstPages(int n) {
    QList<int> pages;
    for (int page = 1; page <= n; ++page)
        pages.append(page);
    return pages;
}

// The next run completes the issue in home, fetching none of the pages kept
// (numbered from 1); an uninterrupted download from the same site gives the
// same files.
void ExpectCompletedByTheNextRun(const QString& home, DemoSite& site, const QList<int>& kept) {
    const QString folder = OnlyIssueFolder(home);
    ASSERT_FALSE(folder.isEmpty());
    EXPECT_FALSE(QFile::exists(folder + "/index.htm") && IssueFolderComplete(folder));
    site.clearRequestLog();
    const ProgramRun resumed = RunProgram(home, "-kp");
    ASSERT_TRUE(resumed.finished);
    EXPECT_EQ(resumed.exitCode, 0) << resumed.output.toStdString();
    // Fetched several at a time, the pages arrive at the site in any order.
    QList<ByteText> fetched = PageRequests(site);
    std::sort(fetched.begin(), fetched.end());

    TempProgramFolder reference;
    site.installInto(reference.path());
    site.clearRequestLog();
    ASSERT_EQ(RunProgram(reference.path(), "-kp").exitCode, 0);
    // The site numbers an issue's pages in order, with as many digits each.
    QList<ByteText> all = PageRequests(site);
    std::sort(all.begin(), all.end());
    QList<ByteText> expected;
    for (qsizetype i = 0; i < all.size(); ++i)
        if (!kept.contains(int(i) + 1))
            expected.append(all.at(i));
    ASSERT_LT(expected.size(), all.size());
    EXPECT_EQ(fetched, expected) << "the pages kept are not fetched again, the others are";

    const QMap<QString, QByteArray> files = IssueFiles(folder);
    EXPECT_EQ(files.keys(), IssueFiles(OnlyIssueFolder(reference.path())).keys());
    EXPECT_TRUE(files == IssueFiles(OnlyIssueFolder(reference.path())))
        << "every page and picture as an uninterrupted download has it";
    EXPECT_TRUE(IssueIndexComplete(files.value("index.htm")));
    EXPECT_FALSE(files.value("index.htm").contains("<div class=\"error\">"));
}

TEST(Resume, AStoppedRunIsCompletedByTheNext) {
    E2ERun run(SilentSixthPage);
    ASSERT_TRUE(run.ready());
    run.app.settings.Connections = 1; // the stop lands where page 6 waits
    run.StopWhenStatus(workflow_text::PageCounter(6, 24));
    run.Download(NewspaperSource);
    ASSERT_EQ(run.controller.Stat, QString::fromUtf8("Загрузка прервана пользователем"));
    EXPECT_TRUE(run.exists("page5.html"));
    EXPECT_FALSE(run.exists("page6.html"));
    ExpectCompletedByTheNextRun(run.home.path(), run.site, FirstPages(5));
}

TEST(Resume, AKilledRunIsCompletedByTheNext) {
    TempProgramFolder home;
    DemoSite site(SilentSixthPage);
    site.installInto(home.path());
    ASSERT_TRUE(KilledAtTheSixthPage(home.path(), site));
    ExpectCompletedByTheNextRun(home.path(), site, FirstPages(5));
}

// A power cut can leave the record's last line without its end, or garbage in
// a line: such lines are not trusted, and their pages are fetched again.
TEST(Resume, ARecordCutMidLineOrHoldingGarbageIsCompletedByTheNext) {
    TempProgramFolder home;
    DemoSite site(SilentSixthPage);
    site.installInto(home.path());
    ASSERT_TRUE(KilledAtTheSixthPage(home.path(), site));
    const QString record = OnlyIssueFolder(home.path()) + "/" + PageRecord::FileName;
    QList<ByteText> lines = ReadWholeFile(record).value_or("").split('\n');
    ASSERT_EQ(lines.size(), 6) << "five lines, each with its end";
    ASSERT_TRUE(lines[4].startsWith("5\t") && lines[4].count('\t') >= 3) << "page 5 has pictures";
    lines[3] += ByteText("\tx.png\0", 7);
    lines[4].chop(lines[4].size() - lines[4].lastIndexOf('\t') - 2);
    lines.removeLast();
    ASSERT_TRUE(WriteWholeFile(record, lines.join('\n')));
    ExpectCompletedByTheNextRun(home.path(), site, FirstPages(3));
}

// The record may name a page whose file is gone (the user deleted it) or
// empty (a power cut after the record, before the data reached the disk):
// only a page on disk counts as saved.
TEST(Resume, ARecordedPageWhoseFileIsMissingOrEmptyIsFetchedAgain) {
    TempProgramFolder home;
    DemoSite site(SilentSixthPage);
    site.installInto(home.path());
    ASSERT_TRUE(KilledAtTheSixthPage(home.path(), site));
    const QString folder = OnlyIssueFolder(home.path());
    ASSERT_EQ(ReadWholeFile(folder + "/" + PageRecord::FileName).value_or("").count('\n'), 5);
    ASSERT_TRUE(QFile::remove(folder + "/page2.html"));
    ASSERT_TRUE(WriteWholeFile(folder + "/page4.html", ""));
    ExpectCompletedByTheNextRun(home.path(), site, {1, 3, 5});
}

// With six fetches at once, a stop while pictures that never answer are in
// flight ends the run at once, and the next run completes the issue.
TEST(Resume, AStopAmongParallelPicturesEndsAtOnceAndTheNextRunCompletes) {
    E2ERun run({"--fault", "newspaper:^/upimg/*=silent:3"});
    ASSERT_TRUE(run.ready());
    ASSERT_EQ(run.app.settings.Connections, 6);
    run.StopWhenStatus(workflow_text::ImageCounter(1, 48));
    QElapsedTimer clock;
    clock.start();
    run.Download(NewspaperSource);
    EXPECT_LT(clock.elapsed(), 10'000) << "the silent fetches were abandoned";
    ASSERT_EQ(run.controller.Stat, QString::fromUtf8("Загрузка прервана пользователем"));
    ExpectCompletedByTheNextRun(run.home.path(), run.site, FirstPages(24));
}

// A kill -9 while six pictures are fetched at once.
TEST(Resume, AKillAmongParallelPicturesIsCompletedByTheNext) {
    TempProgramFolder home;
    DemoSite site({"--fault", "newspaper:^/upimg/*=silent:2"});
    site.installInto(home.path());
    QProcess first;
    StartProgram(first, {home.path(), {"-kp"}});
    const auto pictures = [&site] { return site.requestLog().count("GET /upimg/"); };
    // Pictures begin while pages are processed; the kill waits for the page
    // loop's end, the index.
    const auto pagesDone = [&home] {
        return QFile::exists(OnlyIssueFolder(home.path()) + "/index.htm");
    };
    ASSERT_TRUE(WaitUntil([&] { return pagesDone() && pictures() >= 6; }));
    first.kill();
    first.waitForFinished();
    ExpectCompletedByTheNextRun(home.path(), site, FirstPages(24));
}

// Each page's pictures are fetched as soon as the page is processed: while
// the last page never answers, the pictures of all the others arrive. A kill
// then leaves an issue the next run completes.
TEST(Resume, PicturesOfProcessedPagesArriveWhileALaterPageIsAwaited) {
    TempProgramFolder home;
    DemoSite site({"--fault", "newspaper:*24/print/=silent:1"});
    site.installInto(home.path());
    QProcess first;
    StartProgram(first, {home.path(), {"-kp"}});
    const auto pictures = [&site] { return site.requestLog().count("GET /upimg/"); };
    EXPECT_TRUE(WaitUntil([&] { return pictures() == 46; }, 10'000)) << pictures();
    first.kill();
    first.waitForFinished();
    ExpectCompletedByTheNextRun(home.path(), site, FirstPages(23));
}

TEST(Resume, APageLineTheFullDiskCutLeavesTheNextPageReadable) {
    SmallFileSystem disk;
    if (!disk.mounted())
        GTEST_SKIP() << "no small file system: " << disk.why().toStdString();
    PageRecord record(disk.path());
    // Lines of 100 bytes, pages 10 to 49: the record's first block then
    // holds 96 bytes more, so on a full disk page 50's line fits only in part.
    const QList<ByteText> picture = {ByteText(90, 'p')};
    for (int n = 10; n <= 50; ++n) {
        if (n == 50)
            disk.fill();
        record.Add(n, 60, "/p", picture);
    }
    disk.free();
    record.Add(51, 60, "/p", picture);
    ASSERT_EQ(QFileInfo(disk.path() + "/" + PageRecord::FileName).size(), 4100);
    for (int n : {49, 50, 51}) {
        QFile page(disk.path() + QStringLiteral("/page%1.html").arg(n));
        ASSERT_TRUE(page.open(QIODevice::WriteOnly) && page.write("page") == 4);
    }

    PageRecord later(disk.path());
    later.Load();
    EXPECT_EQ(later.Saved(49, 60, "/p"), picture);
    EXPECT_EQ(later.Saved(50, 60, "/p"), std::nullopt) << "fetched again";
    EXPECT_EQ(later.Saved(51, 60, "/p"), picture);
}

} // namespace
