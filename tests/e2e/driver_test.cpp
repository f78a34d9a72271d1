// The download driver: a list of steps run in order until one is not done,
// and the download ended the way that step's outcome says; and the shared
// steps placed in a list of a kind's own, as a new kind of periodical will.
#include "app/issue_choice.h"
#include "app/issue_finish.h"
#include "app/issue_indexes.h"
#include "app/issue_resume.h"
#include "app/newspaper_download.h"
#include "processing/safe_file_name.h"
#include "tests/e2e/e2e_fixture.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

// What the steps of a list did, in order, and whether the window was still
// downloading when each ran. Steps are plain functions, so they reach the
// run through here.
E2ERun* current = nullptr;
QStringList done;

void Note(const QString& step) {
    done << step + (current->idle() ? ":idle" : ":busy");
}

// Runs steps as "Загрузить" starts a download, and returns when it ended.
void Drive(E2ERun& run, std::initializer_list<DownloadStep> steps) {
    current = &run;
    done.clear();
    run.statuses.clear();
    const std::vector<DownloadStep> list(steps);
    run.controller.hooks.startDownload = [&run, &list] { run.download.RunSteps(list); };
    run.controller.Command1Click();
}

StepOutcome StepA(DownloadRun&) {
    Note("a");
    return StepOutcome::done();
}
StepOutcome StepNeverReached(DownloadRun&) {
    Note("never");
    return StepOutcome::done();
}
StepOutcome FailsWithAMessageAfter(DownloadRun& run) {
    Note("fails");
    return StepOutcome::failed(QString::fromUtf8("Шаг не удался")).then([&run] {
        Note("message");
        run.setStat(QString::fromUtf8("После сообщения"));
        return StepOutcome::done();
    });
}
StepOutcome FollowUpFailsInTurn(DownloadRun&) {
    Note("fails");
    return StepOutcome::failed(QString::fromUtf8("Первая причина")).then([] {
        Note("follow-up");
        return StepOutcome::failed(QString::fromUtf8("Вторая причина"));
    });
}
int statusesAtStop = 0;
StepOutcome Stops(DownloadRun&) {
    Note("stops");
    statusesAtStop = current->statuses.size();
    return StepOutcome::stopped();
}

TEST(DownloadDriver, RunsStepsInOrderAndEndsAtTheFirstThatIsNotDone) {
    E2ERun run;
    Drive(run, {StepA, FailsWithAMessageAfter, StepNeverReached});
    EXPECT_EQ(done, QStringList({"a:busy", "fails:busy", "message:idle"}))
        << "the window is idle, its reason shown, before the message follows";
    EXPECT_EQ(
        run.statuses.mid(run.statuses.size() - 2),
        QStringList({QString::fromUtf8("Шаг не удался"), QString::fromUtf8("После сообщения")}));
    EXPECT_TRUE(run.idle());

    Drive(run, {FollowUpFailsInTurn, StepNeverReached});
    EXPECT_EQ(done, QStringList({"fails:busy", "follow-up:idle"}));
    EXPECT_EQ(run.statuses.last(), QString::fromUtf8("Вторая причина"));
    EXPECT_TRUE(run.idle());
}

TEST(DownloadDriver, AStoppedStepEndsTheListAndSaysNothingMore) {
    E2ERun run;
    Drive(run, {StepA, Stops, StepNeverReached});
    EXPECT_EQ(done, QStringList({"a:busy", "stops:busy"}));
    // "Стоп" has said so and returned the window to idle itself; the driver
    // neither speaks nor resets the window again.
    EXPECT_EQ(run.statuses.size(), statusesAtStop) << run.statuses.join(" | ").toStdString();
    EXPECT_FALSE(run.idle());
}

// A list of a kind's own from the shared steps: the newspaper without its
// picture step. The issue comes out whole in pages and index, and no
// picture is written.
TEST(DownloadDriver, SharedStepsMakeAnIssueInAListOfTheirOwn) {
    E2ERun run;
    ASSERT_TRUE(run.ready());
    run.controller.SelectSource(NewspaperSource);
    run.view.setSelectionHook(
        [](Select_Number& w) { QTimer::singleShot(0, &w, [&w] { w.Command1->click(); }); });
    Drive(run, {LoadMainPage, NewspaperMainPage, ChooseIssue, LoadFirstPage, OpenIssueFolder,
                LoadAllPage, IndexIssue, FinishIssue});
    EXPECT_EQ(run.statuses.last(), Loaded);
    EXPECT_TRUE(run.idle());
    ASSERT_GT(run.app.state.PageCount, 20);
    EXPECT_EQ(QDir(run.folder()).entryList({"page*.html"}, QDir::Files).size(),
              run.app.state.PageCount);
    EXPECT_TRUE(run.exists("index.htm"));
    ASSERT_FALSE(run.app.state.ImageList.isEmpty()) << "the pages name their pictures";
    for (const ByteText& picture : run.app.state.ImageList)
        EXPECT_FALSE(run.exists("img/" + FileNameOf(ImageFileName(picture))))
            << "only the picture step writes " << picture.constData();
}

} // namespace
