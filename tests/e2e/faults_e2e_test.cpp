// Failures and stops in the middle of a download, with faults injected by
// the demo site: IgnoreErrors and AllwaysIndex, a stop during the main page,
// a page and an image, a failed archive list or table of contents.
#include "tests/e2e/e2e_fixture.h"

#include "archive/check_in_archive.h"
#include "processing/safe_file_name.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

const QString LoadError = QString::fromUtf8("Ошибка при загрузке");
const QString Stopped = QString::fromUtf8("Загрузка прервана пользователем");

// What the site's newest issues consist of, learnt from a download of them
// (the demo site's content depends on its seed only).
struct Issue {
    ByteText number;
    QList<ByteText> pages;
    QList<ByteText> images;
    ByteText magazinePath;
};

const Issue& Newest() {
    static const Issue issue = [] {
        Issue found;
        E2ERun run;
        run.app.settings.DownloadImages = false;
        run.Download(NewspaperSource);
        found.number = run.app.state.IssueNumber;
        found.pages = run.app.state.PagePaths;
        found.images = run.app.state.ImageList;
        run.Download(MagazineSource);
        found.magazinePath = run.app.state.IssuePath;
        return found;
    }();
    return issue;
}

QStringList Fault(const ByteText& pattern, const char* kind) {
    return {"--fault", QString::fromLatin1(pattern + "=" + kind)};
}

class Faults : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_GE(Newest().pages.size(), 5); }
};

TEST_F(Faults, IgnoredPageErrorLeavesAGapTheIndexMarks) {
    E2ERun run(Fault("newspaper:^" + Newest().pages.at(2), "404"));
    run.app.settings.IgnoreErrors = true;
    run.app.settings.DownloadImages = false;
    run.Download(NewspaperSource);
    EXPECT_EQ(run.controller.Stat, Loaded);
    EXPECT_FALSE(run.exists("page3.html"));
    EXPECT_TRUE(run.file("page2.html").contains("href=\"page3.html\""));
    EXPECT_TRUE(run.file("page4.html").contains("href=\"page3.html\""));
    const ByteText index = run.file("index.htm");
    EXPECT_TRUE(index.contains(Newest().pages.at(2) + "\" class=\"error\">"));
    EXPECT_EQ(index.count("class=\"error\""),
              run.home.read("data/index.dat").count("class=\"error\"") + 1);
    ASSERT_TRUE(run.home.read("data/index.dat").contains("<!--div class=\"error\">"));
    EXPECT_TRUE(index.contains("<div class=\"error\">") && !index.contains("<!--div"))
        << "the index shows its \"not fully downloaded\" block";
    EXPECT_FALSE(CheckInArchive(run.home.path(), Newest().number)) << "an incomplete issue";
}

TEST_F(Faults, PageErrorEndsTheDownloadWhenNotIgnored) {
    for (bool allwaysIndex : {true, false}) {
        E2ERun run(Fault("newspaper:^" + Newest().pages.at(2), "404"));
        run.app.settings.IgnoreErrors = false;
        run.app.settings.AllwaysIndex = allwaysIndex;
        // One fetch at a time: nothing after the failed one is asked for.
        run.app.settings.Connections = 1;
        run.Download(NewspaperSource);
        EXPECT_EQ(run.controller.Stat, LoadError);
        EXPECT_TRUE(run.idle());
        EXPECT_TRUE(run.exists("page2.html"));
        EXPECT_FALSE(run.exists("page3.html"));
        EXPECT_FALSE(run.requested(Newest().pages.at(3)));
        EXPECT_EQ(run.exists("index.htm"), allwaysIndex);
        if (allwaysIndex) {
            EXPECT_TRUE(run.file("index.htm").contains("class=\"error\""));
        }
        EXPECT_FALSE(run.requested(Newest().images.first())) << "no images after the error";
    }
}

TEST_F(Faults, IgnoredImageErrorLeavesNoFile) {
    const ByteText broken = Newest().images.at(1);
    E2ERun run(Fault("newspaper:^" + broken, "reset"));
    run.app.settings.IgnoreErrors = true;
    run.Download(NewspaperSource);
    EXPECT_EQ(run.controller.Stat, Loaded);
    EXPECT_FALSE(run.exists("img/" + FileNameOf(ImageFileName(broken))));
    EXPECT_TRUE(run.exists("img/" + FileNameOf(ImageFileName(Newest().images.at(0)))));
    EXPECT_TRUE(run.exists("img/" + FileNameOf(ImageFileName(Newest().images.last()))));
}

TEST_F(Faults, AnErrorAnsweredPictureMakesTheIssueIncompleteUntilTheNextDownload) {
    const ByteText broken = Newest().images.at(1);
    E2ERun run(Fault("newspaper:^" + broken, "500:1"));
    run.app.settings.UseCashe = false; // only the files on disk can spare a fetch
    run.Download(NewspaperSource);
    EXPECT_EQ(run.download.report().end, DownloadEnd::Incomplete);
    EXPECT_FALSE(run.exists("img/" + FileNameOf(ImageFileName(broken)))) << "no error page";
    EXPECT_TRUE(run.file("index.htm").contains("<div class=\"error\">"));
    EXPECT_FALSE(CheckInArchive(run.home.path(), Newest().number));

    run.site.clearRequestLog();
    run.Download(NewspaperSource);
    EXPECT_EQ(run.download.report().end, DownloadEnd::Complete);
    QList<ByteText> fetched;
    for (const ByteText& line : run.requestLines())
        if (line.contains("/print/") || line.startsWith("GET /upimg/"))
            fetched.append(line);
    EXPECT_EQ(fetched, QList<ByteText>{"GET " + broken + " HTTP/1.0"})
        << "pages and pictures on disk are not fetched again";
    EXPECT_EQ(run.file("img/" + FileNameOf(ImageFileName(broken))),
              run.fetchBody(run.site.newspaper(), broken));
    EXPECT_TRUE(CheckInArchive(run.home.path(), Newest().number));
}

TEST_F(Faults, ImageErrorSkipsTheRestWhenNotIgnored) {
    const ByteText broken = Newest().images.at(1);
    E2ERun run(Fault("newspaper:^" + broken, "404"));
    run.app.settings.IgnoreErrors = false;
    // One fetch at a time: nothing after the failed one is asked for.
    run.app.settings.Connections = 1;
    run.Download(NewspaperSource);
    EXPECT_EQ(run.controller.Stat, Loaded) << "the finish still runs";
    EXPECT_TRUE(run.exists("index.htm"));
    EXPECT_FALSE(run.exists("img/" + FileNameOf(ImageFileName(broken))));
    EXPECT_FALSE(run.requested(Newest().images.at(2)));
    EXPECT_TRUE(run.idle());
}

TEST_F(Faults, StopDuringAPageWritesNothingMore) {
    E2ERun run(Fault("newspaper:^" + Newest().pages.at(2), "silent"));
    // One fetch at a time: nothing after the stopped one is asked for.
    run.app.settings.Connections = 1;
    run.StopWhenStatus(workflow_text::PageCounter(3, Newest().pages.size()));
    run.Download(NewspaperSource);
    EXPECT_EQ(run.controller.Stat, Stopped);
    EXPECT_TRUE(run.idle());
    EXPECT_TRUE(run.exists("page2.html"));
    EXPECT_FALSE(run.exists("page3.html"));
    EXPECT_FALSE(run.exists("index.htm"));
    EXPECT_FALSE(run.requested(Newest().pages.at(3)));
    ASSERT_EQ(run.messenger.shown().size(), 1);
    EXPECT_EQ(run.messenger.shown().first().title, QString::fromUtf8("Подтверждение"));
}

// «Нет» to the stop question lets the download go on, and it ends as what it
// was: complete, with the issue offered.
TEST_F(Faults, AStopAnsweredNoEndsAsTheCompleteDownloadItWas) {
    E2ERun run;
    run.messenger.answer(MessageAnswer::No);
    run.StopWhenStatus(workflow_text::PageCounter(3, Newest().pages.size()));
    run.Download(NewspaperSource);
    EXPECT_EQ(run.messenger.shown().size(), 1) << "the question was asked";
    EXPECT_EQ(run.controller.Stat, Loaded);
    EXPECT_FALSE(run.statuses.contains(Stopped));
    EXPECT_FALSE(run.controller.OfferedIssue.isEmpty()) << "«Открыть номер» is shown";
    EXPECT_TRUE(run.idle());
}

TEST_F(Faults, StopDuringAnImageEndsInTheStoppedFinish) {
    const ByteText slow = Newest().images.at(1);
    E2ERun run(Fault("newspaper:^" + slow, "silent"));
    run.app.settings.KillConnect = true;
    // One fetch at a time: nothing after the stopped one is asked for.
    run.app.settings.Connections = 1;
    run.messenger.answer(MessageAnswer::Yes); // stop?
    run.messenger.answer(MessageAnswer::No);  // hang up? (asked by the stop)
    run.messenger.answer(MessageAnswer::Yes); // hang up? (asked by the finish)
    run.StopWhenStatus(workflow_text::ImageCounter(2, Newest().images.size()));
    run.Download(NewspaperSource);
    EXPECT_EQ(run.controller.Stat, Stopped);
    EXPECT_TRUE(run.idle());
    EXPECT_TRUE(run.exists("index.htm"));
    EXPECT_TRUE(run.exists("img/" + FileNameOf(ImageFileName(Newest().images.at(0)))));
    EXPECT_FALSE(run.exists("img/" + FileNameOf(ImageFileName(slow)))) << "no empty picture";
    EXPECT_FALSE(run.requested(Newest().images.at(2)));
    EXPECT_EQ(run.hangUp.HangUpsRequested(), 1);
    EXPECT_FALSE(run.ended);
}

TEST_F(Faults, StopDuringTheMainPageIsNoMainPage) {
    E2ERun run(Fault("newspaper:^/", "silent"));
    run.StopWhenStatus(QString::fromUtf8("Загрузка главной страницы..."));
    run.Download(NewspaperSource);
    EXPECT_EQ(run.controller.Stat, Stopped);
    EXPECT_TRUE(run.idle());
    EXPECT_TRUE(run.app.state.RememberedMainPage[0].isEmpty());
    EXPECT_EQ(run.view.SelectionsOpened(), 0);
    EXPECT_FALSE(run.requested("/daily/archive/"));
}

TEST_F(Faults, FailedArchiveStillOffersTheNewestIssue) {
    E2ERun run(Fault("newspaper:^/daily/archive/", "404"));
    run.app.settings.DownloadImages = false;
    run.Download(NewspaperSource);
    EXPECT_EQ(run.download.scan().ArchiveCount, 0);
    EXPECT_EQ(run.app.state.IssueNumber, Newest().number);
    EXPECT_EQ(run.controller.Stat, Loaded);
}

TEST_F(Faults, TableOfContentsWithoutPagesEndsInIdle) {
    E2ERun run(Fault("newspaper:^/daily/" + Newest().number, "500"));
    run.Download(NewspaperSource);
    EXPECT_EQ(run.controller.Stat, LoadError);
    EXPECT_TRUE(run.idle());
    EXPECT_TRUE(
        QDir(run.home.file("Download")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
}

// Whatever error answer a contents page gets (missing, a server error, a
// redirect), the user is told the contents could not be had.
TEST_F(Faults, FailedTableOfContentsIsReported) {
    const struct {
        QStringList fault;
        int source;
    } cases[] = {
        {Fault("newspaper:^/daily/" + Newest().number, "404"), NewspaperSource},
        {Fault("newspaper:^/daily/" + Newest().number, "302"), NewspaperSource},
        {Fault("archive:^" + Newest().magazinePath, "500"), MagazineSource},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault.join(' ').toStdString());
        E2ERun run(c.fault);
        run.Download(c.source);
        EXPECT_EQ(run.controller.Stat, LoadError);
        EXPECT_TRUE(run.idle());
        ASSERT_EQ(run.messenger.shown().size(), 1);
        EXPECT_EQ(run.messenger.shown().first().text, workflow_text::ContentsError());
    }
}

TEST_F(Faults, FailedMainPageOffersTheDownloadByNumber) {
    {
        E2ERun run(Fault("newspaper:^/", "404"));
        run.messenger.answer(MessageAnswer::No);
        run.Download(NewspaperSource);
        EXPECT_TRUE(run.idle());
        EXPECT_EQ(run.controller.Stat, QString::fromUtf8("Ошибка при загрузке главной страницы"));
        EXPECT_EQ(run.view.SelectionsOpened(), 0);
    }
    E2ERun run(Fault("newspaper:^/", "404"));
    run.app.settings.DownloadImages = false;
    run.Download(NewspaperSource, [](Select_Number& w) {
        EXPECT_TRUE(w.Option2->isChecked());
        EXPECT_FALSE(w.Option1->isEnabled());
        EXPECT_FALSE(w.Command3->isEnabled());
        w.Text1->setFocus();
        QTest::keyClicks(w.Text1, QString::fromLatin1(Newest().number));
        w.Command1->click();
    });
    EXPECT_EQ(run.app.state.IssueNumber, Newest().number);
    EXPECT_EQ(run.controller.Stat, Loaded);
}

TEST_F(Faults, MagazinePageAndImageErrors) {
    {
        E2ERun run(Fault("archive:/print/offline", "404"));
        run.app.settings.IgnoreErrors = false;
        run.Download(MagazineSource);
        EXPECT_EQ(run.controller.Stat, LoadError);
        EXPECT_TRUE(run.idle());
        EXPECT_FALSE(run.exists("page1.html"));
        EXPECT_TRUE(run.file("index.htm").contains("class=\"error\">"));
    }
    for (bool ignore : {true, false}) {
        E2ERun run(Fault("archive:/upload/", "404"));
        run.app.settings.IgnoreErrors = ignore;
        // One fetch at a time: nothing after the failed one is asked for.
        run.app.settings.Connections = 1;
        run.Download(MagazineSource);
        EXPECT_EQ(run.controller.Stat, Loaded);
        EXPECT_TRUE(run.idle());
        EXPECT_TRUE(run.exists("page1.html"));
        EXPECT_EQ(QDir(run.folder() + "/img").entryList(QDir::Files),
                  QStringList({"cover.jpg", "ktlogo.gif"}))
            << "no empty pictures";
        int imageRequests = 0;
        for (const ByteText& line : run.requestLines())
            imageRequests += line.startsWith("GET /upload/") ? 1 : 0;
        // The covers come from the main host under /upload/ too.
        const int covers = int(run.app.state.CoverFiles.size());
        EXPECT_EQ(imageRequests - covers, ignore ? run.app.state.ImageCount : 1);
    }
}

} // namespace
