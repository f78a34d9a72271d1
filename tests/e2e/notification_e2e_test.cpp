// The desktop notification that an issue arrived, on a private session bus
// with a recording notification service: its texts, its action opening the
// issue, an unattended run of the real program, and no bus at all.
#include "app/desktop_notifier.h"
#include "app/open_issue.h"
#include "settings/utf8_text.h"
#include "tests/e2e/e2e_fixture.h"
#include "tests/support/fake_notifications.h"
#include "tests/support/program_run.h"

#include <QDesktopServices>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

// Catches what the desktop is asked to open.
class OpenedUrls : public QObject {
    Q_OBJECT
public:
    OpenedUrls() { QDesktopServices::setUrlHandler("file", this, "open"); }
    ~OpenedUrls() override { QDesktopServices::unsetUrlHandler("file"); }
    QList<QUrl> urls;
public Q_SLOTS:
    void open(const QUrl& url) { urls << url; }
};

class Notification : public ::testing::Test {
protected:
    FakeNotifications service;
    void SetUp() override {
        if (!service.ready())
            GTEST_SKIP() << service.why().toStdString();
    }
};

TEST_F(Notification, ADownloadedIssueIsAnnouncedAndItsActionOpensTheIssue) {
    E2ERun run;
    ASSERT_TRUE(run.ready());
    DesktopNotifier notifier(service.bus());
    notifier.openIssue = [](const QString& folder) { OpenIssue(folder); }; // as the window's
    run.view.setNotifier(&notifier);
    OpenedUrls opened;
    run.Download(NewspaperSource);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !service.shown.isEmpty(); }, 10'000));
    const FakeNotifications::Shown shown = service.shown.first();
    EXPECT_EQ(shown.app, U("Норвел"));
    EXPECT_EQ(shown.icon, "norvel2");
    EXPECT_EQ(shown.summary, U("Номер загружен"));
    EXPECT_EQ(shown.body, U("Газета «Ведомир», ") + cp1251::toUnicode(run.app.state.IssueDate) +
                              " (" + cp1251::toUnicode(run.app.state.IssueNumber) + ")");
    EXPECT_EQ(shown.actions, QStringList({"default", U("Открыть номер")}));
    EXPECT_EQ(shown.hints.value("desktop-entry").toString(), "norvel2");

    service.invoke(shown.id + 1, "default");
    service.invoke(shown.id, "other");
    service.invoke(shown.id, "default");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !opened.urls.isEmpty(); }, 10'000));
    QTest::qWait(100);
    EXPECT_EQ(opened.urls, QList<QUrl>({QUrl::fromLocalFile(run.folder() + "/index.htm")}))
        << "only its own action of its own notification";
}

TEST_F(Notification, TheUnattendedProgramAnnouncesTheIssueWithoutAnAction) {
    TempProgramFolder home;
    DemoSite site;
    ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
    ASSERT_TRUE(site.installInto(home.path()));
    QProcess program;
    StartProgram(program,
                 {home.path(), {"-kt"}, {"DBUS_SESSION_BUS_ADDRESS=" + service.address()}});
    // The service answers on this thread: wait with the events running.
    ASSERT_TRUE(QTest::qWaitFor([&] { return program.state() == QProcess::NotRunning; }, 120'000));
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().data();
    ASSERT_EQ(service.shown.size(), 1);
    EXPECT_EQ(service.shown.first().summary, U("Номер загружен"));
    EXPECT_TRUE(service.shown.first().body.startsWith(U("Журнал «Зенитра», ")));
    EXPECT_TRUE(service.shown.first().actions.isEmpty()) << "the program has ended by then";
}

TEST(NotificationWithoutABus, NothingIsSentAndNothingWaits) {
    DesktopNotifier notifier(QDBusConnection(QStringLiteral("no bus")));
    QString opened;
    notifier.openIssue = [&](const QString& folder) { opened = folder; };
    notifier.IssueArrived({1, "1", "2", "/tmp", true, true});
    notifier.IssueArrived({1, "1", "2", "/tmp", true, false});
    EXPECT_TRUE(opened.isEmpty());
}

TEST(OpenIssue, OpensTheContentsPageOfAnIssueThatHasOne) {
    TempProgramFolder home(false);
    OpenedUrls opened;
    EXPECT_FALSE(OpenIssue(home.file("Download/none")));
    home.write("Download/2006.11.23/index.htm", "contents");
    EXPECT_TRUE(OpenIssue(home.file("Download/2006.11.23")));
    EXPECT_EQ(opened.urls,
              QList<QUrl>({QUrl::fromLocalFile(home.file("Download/2006.11.23/index.htm"))}));
}

} // namespace

#include "notification_e2e_test.moc"
