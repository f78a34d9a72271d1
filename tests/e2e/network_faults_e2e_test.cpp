// The real program, started unattended, against a demo site whose answers
// are damaged, slow or carry a hostile link: what lands in the issue folder
// and in the cache is whole or absent, and no fetch outlasts its limit.
#include "net/download_control.h"
#include "processing/safe_file_name.h"
#include "tests/support/demo_site.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_program_folder.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

// The paths of the pictures requested, in order, as the request lines name them.
QList<ByteText> PictureRequests(const DemoSite& site) {
    QList<ByteText> paths;
    for (const ByteText& line : site.requestLines())
        if (line.startsWith("GET /upimg/") && line.endsWith(" HTTP/1.0"))
            paths.append(line.mid(4, line.size() - 4 - 9));
    return paths;
}

QString PictureFile(const QString& issueFolder, const ByteText& path) {
    return issueFolder + "/img/" + FileNameOf(ImageFileName(path));
}

// The picture as the site serves it when nothing goes wrong.
ByteText Served(const DemoSite& site, const ByteText& path) {
    Download_Control direct;
    direct.RHost(site.newspaper());
    return ExtractBody(direct.Down(path, false));
}

// The response file of the cache entry for a path, or empty without one.
QString CacheFileFor(const TempProgramFolder& home, const DemoSite& site, const ByteText& path) {
    const ByteText wanted = "=http://" + site.newspaper() + path + "\r\n";
    for (const ByteText& line : home.read("cashe/!Cashe.dat").split('\n')) {
        if ((line + "\n").endsWith(wanted) && line.startsWith("cashe"))
            return home.file("cashe/" + QString::fromLatin1(line.left(line.indexOf('='))) + ".tmp");
    }
    return {};
}

struct Started {
    TempProgramFolder home;
    DemoSite site;
    explicit Started(const QStringList& siteArguments) : site(siteArguments) {
        if (site.isRunning())
            site.installInto(home.path());
    }
};

TEST(NetworkFaultsProgram, DamagedPicturesAreNeitherSavedNorCachedAsGood) {
    // The first four pictures: each rule serves one request, in this order.
    Started run({"--fault", "newspaper:^/upimg/*=reset-unsized:1", "--fault",
                 "newspaper:^/upimg/*=no-status:1", "--fault", "newspaper:^/upimg/*=chunked:1",
                 "--fault", "newspaper:^/upimg/*=long:1"});
    ASSERT_TRUE(run.site.isRunning()) << run.site.error().toStdString();
    WriteOptions(run.home.path(), [](Settings& s) { s.ClearCasheDown = false; });
    const ProgramRun program = RunProgram(run.home.path(), "-kp");
    ASSERT_TRUE(program.finished) << program.errors.constData();
    const QString issue = OnlyIssueFolder(run.home.path());
    ASSERT_FALSE(issue.isEmpty());
    const QList<ByteText> pictures = PictureRequests(run.site);
    ASSERT_GE(pictures.size(), 5);

    for (const ByteText& cut : {pictures[0], pictures[1]}) {
        EXPECT_FALSE(QFile::exists(PictureFile(issue, cut))) << cut.constData();
        EXPECT_TRUE(CacheFileFor(run.home, run.site, cut).isEmpty()) << cut.constData();
    }
    for (const ByteText& repaired : {pictures[2], pictures[3], pictures[4]}) {
        const ByteText served = Served(run.site, repaired);
        ASSERT_FALSE(served.isEmpty());
        EXPECT_EQ(ReadFileBytes(PictureFile(issue, repaired)), served) << repaired.constData();
        const ByteText cached = ReadFileBytes(CacheFileFor(run.home, run.site, repaired));
        EXPECT_EQ(ExtractBody(cached), served) << repaired.constData();
        EXPECT_FALSE(cached.contains("Transfer-Encoding"));
    }
}

// An empty answer, an unreadable length or a part nobody asked for brings no
// picture or page: the item fails, nothing of it is saved or cached, and the
// run ends incomplete.
TEST(NetworkFaultsProgram, EmptyOrMisframedAnswersAreFailedItemsNeverSaved) {
    for (const char* kind : {"empty", "partial", "length-negative", "length-text", "length-huge"}) {
        SCOPED_TRACE(kind);
        Started run({"--fault", QString("newspaper:^/upimg/*=%1:1").arg(kind)});
        ASSERT_TRUE(run.site.isRunning()) << run.site.error().toStdString();
        WriteOptions(run.home.path(), [](Settings& s) { s.ClearCasheDown = false; });
        const ProgramRun program = RunProgram(run.home.path(), "-kp");
        ASSERT_TRUE(program.finished);
        EXPECT_EQ(program.exitCode, 1) << program.output.constData();
        const QList<ByteText> pictures = PictureRequests(run.site);
        ASSERT_GE(pictures.size(), 2);
        const QString issue = OnlyIssueFolder(run.home.path());
        EXPECT_FALSE(QFile::exists(PictureFile(issue, pictures[0])));
        EXPECT_TRUE(CacheFileFor(run.home, run.site, pictures[0]).isEmpty());
        EXPECT_EQ(ReadFileBytes(PictureFile(issue, pictures[1])), Served(run.site, pictures[1]));
    }
    Started run({"--fault", "newspaper:*03/print/=empty:1"});
    ASSERT_TRUE(run.site.isRunning()) << run.site.error().toStdString();
    const ProgramRun program = RunProgram(run.home.path(), "-kp");
    ASSERT_TRUE(program.finished);
    EXPECT_EQ(program.exitCode, 1) << program.output.constData();
    EXPECT_FALSE(QFile::exists(OnlyIssueFolder(run.home.path()) + "/page3.html"));
    EXPECT_TRUE(QFile::exists(OnlyIssueFolder(run.home.path()) + "/page4.html"));
}

TEST(NetworkFaultsProgram, DamagedCacheEntriesAreFetchedAgain) {
    Started run({});
    ASSERT_TRUE(run.site.isRunning()) << run.site.error().toStdString();
    WriteOptions(run.home.path(), [](Settings& s) { s.ClearCasheDown = false; });
    ASSERT_TRUE(RunProgram(run.home.path(), "-kp").finished);
    const QList<ByteText> pictures = PictureRequests(run.site);
    ASSERT_GE(pictures.size(), 3);

    // One entry cut short by a crash, one without the end of its header.
    const QString cutShort = CacheFileFor(run.home, run.site, pictures[0]);
    const QString headless = CacheFileFor(run.home, run.site, pictures[2]);
    ASSERT_FALSE(cutShort.isEmpty());
    ASSERT_FALSE(headless.isEmpty());
    const ByteText whole = ReadFileBytes(cutShort);
    run.home.write(QDir(run.home.path()).relativeFilePath(cutShort), whole.chopped(100));
    run.home.write(QDir(run.home.path()).relativeFilePath(headless), "HTTP/1.0 200 OK\r\nCont");
    ASSERT_TRUE(QDir(run.home.file("Download")).removeRecursively());
    run.site.clearRequestLog();

    ASSERT_TRUE(RunProgram(run.home.path(), "-kp").finished);
    // Parallel fetches reach the site in no fixed order.
    QList<ByteText> fetchedAgain = PictureRequests(run.site);
    std::sort(fetchedAgain.begin(), fetchedAgain.end());
    QList<ByteText> damaged{pictures[0], pictures[2]};
    std::sort(damaged.begin(), damaged.end());
    EXPECT_EQ(fetchedAgain, damaged);
    const QString issue = OnlyIssueFolder(run.home.path());
    for (const ByteText& path : {pictures[0], pictures[1], pictures[2]})
        EXPECT_EQ(ReadFileBytes(PictureFile(issue, path)), Served(run.site, path))
            << path.constData();
}

TEST(NetworkFaultsProgram, LinkHoldingALineBreakAddsNoHeaderLine) {
    Started run({"--crlf-link"});
    ASSERT_TRUE(run.site.isRunning()) << run.site.error().toStdString();
    const ProgramRun program = RunProgram(run.home.path(), "-kp");
    ASSERT_TRUE(program.finished) << program.errors.constData();
    EXPECT_EQ(program.exitCode, 0);

    const ByteText log = run.site.requestLog();
    ASSERT_TRUE(log.contains("GET /upimg/"));
    EXPECT_FALSE(log.contains("\nX-Injected")) << "a link's line break reached the request head";
    ByteText hostile;
    for (const ByteText& path : PictureRequests(run.site))
        if (path.endsWith("_crlf%0D%0AX-Injected:%20yes%0D%0A.gif"))
            hostile = path;
    ASSERT_FALSE(hostile.isEmpty());
    const ByteText linked = ByteText::fromPercentEncoding(hostile);
    EXPECT_TRUE(
        ReadFileBytes(PictureFile(OnlyIssueFolder(run.home.path()), linked)).startsWith("GIF8"));
}

// Names longer than a file system allows are saved shortened, and the page
// leads to the shortened files; two long names with the same start stay apart.
TEST(NetworkFaultsProgram, PicturesNamedLongerThanTheFileSystemAllowsAreSavedAndLinked) {
    Started run({"--long-picture-names"});
    ASSERT_TRUE(run.site.isRunning()) << run.site.error().toStdString();
    const ProgramRun program = RunProgram(run.home.path(), "-kp");
    ASSERT_TRUE(program.finished) << program.errors.constData();
    EXPECT_EQ(program.exitCode, 0) << program.output.constData() << program.errors.constData();

    const QString issue = OnlyIssueFolder(run.home.path());
    const ByteText page = ReadFileBytes(issue + "/page1.html");
    QStringList longNames;
    for (const QString& name : QDir(issue + "/img").entryList(QDir::Files))
        if (name.toUtf8().size() > 150)
            longNames.append(name);
    ASSERT_EQ(longNames.size(), 2) << "both long-named pictures saved";
    for (const QString& name : longNames) {
        EXPECT_LE(name.toUtf8().size(), LongestPictureName);
        EXPECT_TRUE(page.contains("src=\"img/" + cp1251::fromUnicode(name) + "\""))
            << name.toStdString();
        const ByteText picture = ReadFileBytes(issue + "/img/" + name);
        EXPECT_TRUE(picture.startsWith("GIF8") || picture.startsWith("\xFF\xD8"))
            << name.toStdString();
    }
    EXPECT_NE(longNames[0].left(100), longNames[1].left(100)) << "Latin and Cyrillic apart";
}

TEST(NetworkFaultsProgram, TrickledPictureEndsAtTheFetchLimit) {
    // About 8 KB at one byte every 200 ms: half an hour without the limit,
    // and never silent long enough for the silence limit.
    Started run({"--fault", "newspaper:^/upimg/*=dribble:1", "--dribble-ms", "200"});
    ASSERT_TRUE(run.site.isRunning()) << run.site.error().toStdString();
    const ProgramRun program = RunProgram(run.home.path(), "-kp", {"NORVEL_FETCH_LIMIT=2"});
    ASSERT_TRUE(program.finished) << "the trickle held the run";
    EXPECT_LT(program.ms, 40'000);
    const QList<ByteText> pictures = PictureRequests(run.site);
    ASSERT_GE(pictures.size(), 2);
    const QString issue = OnlyIssueFolder(run.home.path());
    EXPECT_FALSE(QFile::exists(PictureFile(issue, pictures[0])));
    EXPECT_EQ(ReadFileBytes(PictureFile(issue, pictures[1])), Served(run.site, pictures[1]));
}

} // namespace
