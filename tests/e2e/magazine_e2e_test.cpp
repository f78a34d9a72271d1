// Whole magazine issues against the demo site, the covers of the selection
// window, and the issues the workflow refuses.
#include "tests/e2e/e2e_fixture.h"

#include "processing/safe_file_name.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

const QString Unavailable = QString::fromUtf8("Номер недоступен для загрузки");
const QString RefusalTitle = QString::fromUtf8("Выбранный номер недоступен для загрузки");

void ExpectWholeMagazineIssue(E2ERun& run) {
    const WorkflowState& st = run.app.state;
    ASSERT_GE(st.PageCount, 4);
    EXPECT_TRUE(run.folder().endsWith(".KT"));
    for (int n = 1; n <= st.PageCount; ++n) {
        const ByteText page = run.file(QString("page%1.html").arg(n));
        ASSERT_FALSE(page.isEmpty()) << n;
        EXPECT_EQ(page.contains("href=\"page" + ByteText::number(n + 1) + ".html\""),
                  n < st.PageCount);
        EXPECT_EQ(page.contains("href=\"page" + ByteText::number(n - 1) + ".html\""), n > 1);
        EXPECT_EQ(page.count("<a href=\"index.htm\">"), 1) << "back to the contents";
        EXPECT_TRUE(st.PagePaths.at(n - 1).startsWith("/print/offline" + st.IssuePath));
    }
    const ByteText index = run.file("index.htm");
    EXPECT_TRUE(index.contains("(" + st.IssueNumber + ")</div>"));
    for (int n = 1; n <= st.PageCount; ++n) {
        EXPECT_TRUE(index.contains("page" + ByteText::number(n) +
                                   ".html\" class=\"online-news-date\">" +
                                   st.MagazineTitles.at(n - 1)));
        EXPECT_TRUE(index.contains(st.PageTitles.at(n - 1)));
    }
    EXPECT_TRUE(run.exists("img/ktlogo.gif"));
    EXPECT_TRUE(run.exists("kp.css"));
    QFile cover(st.TempFolder + "/" + FileNameOf(st.CoverFiles.at(st.SelectedIssue - 1)));
    ASSERT_TRUE(cover.open(QIODevice::ReadOnly));
    EXPECT_EQ(run.file("img/cover.jpg"), cover.readAll());

    ASSERT_GT(st.ImageCount, 0);
    for (const ByteText& image : st.ImageList)
        EXPECT_EQ(run.file("img/" + FileNameOf(ImageFileName(image))),
                  run.fetchBody(run.site.magazineArchive(), image))
            << image.toStdString();
    EXPECT_EQ(run.controller.Stat, Loaded);
    EXPECT_TRUE(run.idle());
}

TEST(MagazineDownload, WholeNewestIssueWithEveryCover) {
    E2ERun run;
    ASSERT_TRUE(run.ready());
    run.Download(MagazineSource);
    ExpectWholeMagazineIssue(run);
    const WorkflowState& st = run.app.state;
    EXPECT_EQ(st.SelectedIssue, 1);
    EXPECT_EQ(st.IssueNumber, st.LatestIssue);
    EXPECT_EQ(st.CoverFiles.size(), 5);
    for (const ByteText& name : st.CoverFiles)
        EXPECT_TRUE(QFile::exists(st.TempFolder + "/" + FileNameOf(name))) << name.toStdString();
    EXPECT_TRUE(run.statuses.contains(workflow_text::CoverCounter(5, 5)));
    EXPECT_TRUE(run.messenger.shown().isEmpty());
}

TEST(MagazineDownload, WholeIssueThroughTheProxyWithAuthorisation) {
    E2ERun run({"--proxy-auth", "reader:secret"});
    ASSERT_TRUE(run.ready());
    run.UseAuthorisedProxy();
    run.Download(MagazineSource);
    const QList<ByteText> lines = run.requestLines();
    ExpectWholeMagazineIssue(run);
    for (const ByteText& line : lines)
        EXPECT_TRUE(line.startsWith("GET http://")) << line.toStdString();
}

TEST(MagazineDownload, AnnouncedIssueIsRefusedWithoutAFolder) {
    E2ERun run; // issue 2 is only announced
    ASSERT_TRUE(run.ready());
    run.Download(MagazineSource, PickFromList(0));
    EXPECT_EQ(run.app.state.SelectedIssue, 2);
    EXPECT_EQ(run.controller.Stat, Unavailable);
    ASSERT_EQ(run.messenger.shown().size(), 1);
    EXPECT_EQ(run.messenger.shown().first().title, RefusalTitle);
    EXPECT_EQ(run.messenger.shown().first().text, workflow_text::MagazineRefusal());
    EXPECT_TRUE(run.idle());
    EXPECT_TRUE(
        QDir(run.home.file("Download")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
}

TEST(MagazineDownload, IssueOfThreeArticlesIsRefused) {
    E2ERun run; // issue 3 has three articles
    ASSERT_TRUE(run.ready());
    run.Download(MagazineSource, PickFromList(1));
    EXPECT_EQ(run.app.state.PageCount, 3);
    EXPECT_EQ(run.controller.Stat, Unavailable);
    ASSERT_EQ(run.messenger.shown().size(), 1);
    EXPECT_EQ(run.messenger.shown().first().title, RefusalTitle);
    EXPECT_TRUE(run.idle());
    EXPECT_EQ(run.requestsFor("/print/offline"), 0);
}

TEST(MagazineDownload, IssueOfFourArticlesIsDownloaded) {
    E2ERun run({"--pages", "4"});
    ASSERT_TRUE(run.ready());
    run.Download(MagazineSource);
    EXPECT_EQ(run.app.state.PageCount, 4);
    EXPECT_EQ(run.controller.Stat, QString::fromUtf8("Номер загружен"));
    EXPECT_TRUE(QFile::exists(OnlyIssueFolder(run.home.path()) + "/page4.html"));
}

TEST(MagazineDownload, OlderIssuePickedFromTheListGetsOnlyItsOwnImages) {
    E2ERun run;
    ASSERT_TRUE(run.ready());
    run.Download(NewspaperSource);
    run.Download(MagazineSource, PickFromList(2));
    const WorkflowState& st = run.app.state;
    EXPECT_EQ(st.SelectedIssue, 4);
    ExpectWholeMagazineIssue(run);
    for (const ByteText& image : st.ImageList)
        EXPECT_TRUE(image.startsWith("/upload/")) << image.toStdString();
}

TEST(MagazineDownload, MainPageWithoutTheArchiveHeadingIsReported) {
    E2ERun run({"--fault", "archive:^/=500"});
    ASSERT_TRUE(run.ready());
    run.Download(MagazineSource);
    ASSERT_EQ(run.messenger.shown().size(), 1);
    EXPECT_EQ(run.messenger.shown().first().title, "Error processing page");
    EXPECT_TRUE(run.controller.Stat.startsWith(QString::fromUtf8("Ошибка обработки ")));
    EXPECT_TRUE(run.idle());
    EXPECT_EQ(run.view.SelectionsOpened(), 0);
}

TEST(MagazineDownload, QuickDownloadFetchesTheCoversAgainButNotTheMainPage) {
    E2ERun run;
    ASSERT_TRUE(run.ready());
    run.app.settings.QuickDownload = true;
    run.app.settings.UseCashe = false;
    run.app.settings.DownloadImages = false;
    run.Download(MagazineSource);
    ASSERT_FALSE(run.app.state.CoverFiles.isEmpty());
    int coverRequests = 0;
    for (const ByteText& line : run.requestLines())
        coverRequests += line.contains("/upload/") ? 1 : 0;
    run.Download(MagazineSource);
    int coverRequestsAfter = 0;
    for (const ByteText& line : run.requestLines())
        coverRequestsAfter += line.contains("/upload/") ? 1 : 0;
    EXPECT_EQ(run.requestsFor("/"), 1);
    EXPECT_EQ(coverRequestsAfter, 2 * coverRequests);
    EXPECT_EQ(run.controller.Stat, Loaded);
}

} // namespace
