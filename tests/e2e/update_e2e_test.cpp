// The version check at the start of a download, through the real main
// window, workflow and update window against the demo site's update server;
// a refused proxy login and a login the proxy keeps in UTF-8.
#include "tests/e2e/e2e_fixture.h"
#include "update/upgrade.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMap>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString Checking = QString::fromUtf8("Проверка новой версии...");
const QString Found = QString::fromUtf8("Найдена новая версия");
const QString UpdateFailed = QString::fromUtf8("Ошибка при загрузке обновления.");
const QString NotSigned =
    QString::fromUtf8("Обновление не подписано издателем. Скачайте его со страницы программы.");
const ByteText Release = "/norvel2-2.2.0-update.sh";

bool AnyRequestFor(const E2ERun& run, const ByteText& part) {
    for (const ByteText& line : run.requestLines())
        if (line.contains(part))
            return true;
    return false;
}

// What the update window showed, and how the test answered it.
struct WindowSeen {
    int opened = 0;
    QString version, size, link;
    QStringList notices;       // of every window opened
    QList<bool> updateEnabled; // "Обновить" of every window opened
    bool clockRunning = true;
};

// Answers every update window with a click on button once it is shown, or on
// "Отмена" when that button is off.
void AnswerUpdateWindow(E2ERun& run, WindowSeen& seen, QPushButton* Upgrade::*button) {
    run.view.setUpgradeHook([&run, &seen, button](Upgrade& window) {
        ++seen.opened;
        seen.version = window.Label1->text();
        seen.size = window.Label2->text();
        seen.link = window.Label4->text();
        seen.notices.append(window.Label3->text());
        seen.updateEnabled.append(window.Command1->isEnabled());
        seen.clockRunning = run.controller.Timer1.isActive();
        auto* poll = new QTimer(&window);
        QObject::connect(poll, &QTimer::timeout, [poll, &window, button] {
            if (window.isVisible()) {
                poll->stop();
                QPushButton* chosen = window.*button;
                (chosen->isEnabled() ? chosen : window.Command2)->click();
            }
        });
        poll->start(10);
    });
}

// A harmless release: a shell script that writes its name and arguments to
// record, padded so it is not tiny.
struct RecordingRelease {
    QTemporaryDir dir;
    QString script() const { return dir.filePath("release.sh"); }
    QString record() const { return dir.filePath("ran.txt"); }
    RecordingRelease() {
        QFile file(script());
        file.open(QIODevice::WriteOnly);
        file.write("#!/bin/sh\nprintf '%s|%s\\n' \"$0\" \"$*\" > '" + record().toUtf8() + "'\n");
        for (int i = 0; i < 200; ++i)
            file.write("# harmless test release\n");
    }
    ByteText recorded() const {
        QFile file(record());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : ByteText();
    }
};

} // namespace

TEST(UpdateCheck, SameVersionIsAskedFirstAndTheDownloadGoesOnWithoutAWindow) {
    E2ERun run;
    ASSERT_TRUE(run.ready());
    WindowSeen seen;
    AnswerUpdateWindow(run, seen, &Upgrade::Command2);
    run.Download(NewspaperSource);
    EXPECT_EQ(seen.opened, 0);
    ASSERT_FALSE(run.requestLines().isEmpty());
    EXPECT_EQ(run.requestLines().first(), "GET /version.info HTTP/1.0");
    const qsizetype checking = run.statuses.indexOf(Checking);
    EXPECT_GE(checking, 0);
    EXPECT_LT(checking, run.statuses.indexOf("Загрузка главной страницы..."));
    EXPECT_EQ(run.controller.Stat, Loaded);
    EXPECT_FALSE(QFile::exists(run.home.file("version.info")));
}

TEST(UpdateCheck, NoAnswerOrAnErrorPageLetsTheDownloadGoOn) {
    E2ERun run({"--update-version", "2.2.0", "--fault", "update:/version.info=500:1"});
    ASSERT_TRUE(run.ready());
    WindowSeen seen;
    AnswerUpdateWindow(run, seen, &Upgrade::Command2);
    run.app.settings.DownloadImages = false;
    run.Download(NewspaperSource);
    EXPECT_EQ(run.controller.Stat, Loaded);

    run.app.sites.Update = "127.0.0.1:1";
    run.Download(MagazineSource);
    EXPECT_EQ(run.controller.Stat, Loaded);
    EXPECT_EQ(seen.opened, 0);
    EXPECT_EQ(IssueFolders(run.home.path()).size(), 2);
}

TEST(UpdateCheck, NewerVersionPausesInTheWindowAndCancelGoesOn) {
    E2ERun run({"--update-version", "2.2.0"});
    ASSERT_TRUE(run.ready());
    WindowSeen seen;
    AnswerUpdateWindow(run, seen, &Upgrade::Command2);
    run.Download(NewspaperSource);
    EXPECT_EQ(seen.opened, 1);
    EXPECT_EQ(seen.version, "Версия: 2.2.0 (ваша версия - 2.1.7)");
    EXPECT_EQ(seen.size, "Размер файла: 68 кб");
    EXPECT_EQ(seen.link, "Прямая ссылка (копировать)");
    EXPECT_FALSE(seen.clockRunning) << "the clock stops while the window waits";
    EXPECT_TRUE(run.statuses.contains(Found));
    EXPECT_EQ(run.controller.Stat, Loaded);
    EXPECT_FALSE(run.requested(Release));
    EXPECT_EQ(IssueFolders(run.home.path()).size(), 1);
}

TEST(UpdateCheck, UpdateFetchesChecksAndStartsTheReleaseThenEnds) {
    RecordingRelease release;
    E2ERun run({"--update-version", "2.2.0", "--update-release", release.script()});
    ASSERT_TRUE(run.ready());
    WindowSeen seen;
    AnswerUpdateWindow(run, seen, &Upgrade::Command1);
    run.Download(NewspaperSource);
    EXPECT_EQ(seen.opened, 1);
    EXPECT_TRUE(run.ended) << "the program ends once the release runs";
    const QStringList written = QDir(run.home.file("updates")).entryList({"release-*"});
    ASSERT_EQ(written.size(), 1);
    const QString installed =
        run.home.file("updates/" + written.first() + "/norvel2-2.2.0-update.sh");
    EXPECT_TRUE(QFile::permissions(installed) & QFileDevice::ExeOwner);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !release.recorded().isEmpty(); }, 10000));
    EXPECT_EQ(release.recorded(), installed.toUtf8() + "|\n") << "started with no arguments";
    EXPECT_TRUE(run.statuses.contains(
        QString("Загрузка обновления (%1 кб)...").arg(QFileInfo(release.script()).size() / 1024)));
    EXPECT_TRUE(run.requested(Release));
    EXPECT_TRUE(run.requested("/download.php?version=2.2.0"));
    EXPECT_FALSE(run.requested("/")) << "no main page after the update";
    EXPECT_TRUE(IssueFolders(run.home.path()).isEmpty());
}

// A refused release never touches a file that was there: not the settings,
// not the hosts, not the program of a portable copy, whatever FileName says.
TEST(UpdateCheck, AReleaseOfTheWrongSizeHashOrNameIsNeitherKeptNorStartedAndNoFileIsTouched) {
    RecordingRelease release;
    QList<QStringList> lies = {{"--update-file-name", "../norvel2-2.2.0-update.sh"}};
    for (const char* name : {"options.ini", "sites.ini", "norvel2"})
        for (const QStringList& lie :
             {QStringList{"--update-file-size", "70000"}, {"--update-sha256", QString(64, '0')}})
            lies.append(lie + QStringList{"--update-file-name", name});
    for (const QStringList& lie : lies) {
        E2ERun run(QStringList{"--update-version", "2.2.0", "--update-release", release.script()} +
                   lie);
        ASSERT_TRUE(run.ready());
        run.home.write("norvel2", "the program of a portable copy");
        QMap<QString, ByteText> before;
        for (const char* name : {"options.ini", "sites.ini", "norvel2"}) {
            before[name] = run.home.read(name);
            ASSERT_FALSE(before[name].isEmpty()) << name;
        }
        WindowSeen seen;
        AnswerUpdateWindow(run, seen, &Upgrade::Command1);
        run.Download(NewspaperSource);
        const std::string why = lie.join(' ').toStdString();
        EXPECT_EQ(run.controller.Stat, UpdateFailed) << why;
        EXPECT_TRUE(run.idle()) << why;
        EXPECT_FALSE(run.ended) << "the program keeps running: " << why;
        for (auto file = before.cbegin(); file != before.cend(); ++file)
            EXPECT_EQ(run.home.read(file.key()), file.value())
                << why << ": " << file.key().toStdString();
        EXPECT_TRUE(QDir(run.home.file("updates")).isEmpty()) << why;
        EXPECT_FALSE(QFile::exists(run.home.file("../norvel2-2.2.0-update.sh"))) << why;
        EXPECT_FALSE(run.requested("/")) << why;
    }
    QTest::qWait(300);
    EXPECT_TRUE(release.recorded().isEmpty()) << "nothing was started";
}

// Without the publisher's signature nothing starts: with none the window
// says so at once and cannot install; with one over other bytes the fetched
// release is dropped and the window says so again. The direct link stays.
TEST(UpdateCheck, AReleaseWithoutThePublishersSignatureIsNeitherKeptNorStarted) {
    RecordingRelease release;
    for (const char* signature : {"none", "bad"}) {
        SCOPED_TRACE(signature);
        E2ERun run({"--update-version", "2.2.0", "--update-release", release.script(),
                    "--update-signature", signature});
        ASSERT_TRUE(run.ready());
        WindowSeen seen;
        AnswerUpdateWindow(run, seen, &Upgrade::Command1);
        run.Download(NewspaperSource);
        EXPECT_FALSE(run.ended);
        EXPECT_TRUE(run.idle());
        EXPECT_EQ(seen.link, "Прямая ссылка (копировать)");
        EXPECT_TRUE(QDir(run.home.file("updates")).isEmpty());
        if (ByteText(signature) == "none") {
            EXPECT_EQ(seen.notices, QStringList{NotSigned});
            EXPECT_EQ(seen.updateEnabled, QList<bool>{false});
            EXPECT_FALSE(run.requested(Release)) << "nothing fetched that cannot start";
            EXPECT_EQ(run.controller.Stat, Loaded) << "the download goes on";
        } else {
            ASSERT_EQ(seen.opened, 2);
            EXPECT_EQ(seen.notices.last(), NotSigned);
            EXPECT_EQ(seen.updateEnabled, (QList<bool>{true, false}));
            EXPECT_TRUE(run.requested(Release));
            EXPECT_EQ(run.controller.Stat, NotSigned);
        }
    }
    QTest::qWait(300);
    EXPECT_TRUE(release.recorded().isEmpty()) << "nothing was started";
}

TEST(UpdateCheck, StopDuringTheCheckFetchesNoMainPage) {
    E2ERun run({"--fault", "update:/version.info=silent"});
    ASSERT_TRUE(run.ready());
    run.StopWhenStatus(Checking);
    run.Download(NewspaperSource);
    EXPECT_EQ(run.controller.Stat, "Загрузка прервана пользователем");
    EXPECT_TRUE(run.idle());
    EXPECT_FALSE(run.requested("/"));
}

TEST(ProxyLogin, RefusedLoginEndsTheDownloadWithAMessageNamingTheProxy) {
    E2ERun run({"--proxy-auth", "reader:secret", "--proxy-auth-required"});
    ASSERT_TRUE(run.ready());
    run.UseAuthorisedProxy();
    run.app.settings.ProxyPass = "wrong";
    run.Download(NewspaperSource);
    EXPECT_EQ(run.controller.Stat, "Ошибка авторизации на прокси-сервере");
    EXPECT_TRUE(run.idle());
    ASSERT_EQ(run.messenger.shown().size(), 1);
    const ShownMessage& message = run.messenger.shown().first();
    EXPECT_EQ(message.title, "Ошибка");
    EXPECT_EQ(message.icon, MessageIcon::Error);
    EXPECT_TRUE(message.text.contains(QString("127.0.0.1:%1").arg(run.site.proxyPort())));
    EXPECT_TRUE(message.text.contains("пароль"));
    EXPECT_FALSE(AnyRequestFor(run, "/daily/")) << "no request built from an error page";
    EXPECT_EQ(run.requestLines().size(), 1);
}

TEST(ProxyLogin, RefusalAtTheMainPageEndsTheDownloadToo) {
    E2ERun run({"--proxy-auth-required", "--fault", "newspaper:^/=407"});
    ASSERT_TRUE(run.ready());
    run.Download(NewspaperSource);
    EXPECT_EQ(run.controller.Stat, "Ошибка авторизации на прокси-сервере");
    ASSERT_EQ(run.messenger.shown().size(), 1);
    EXPECT_EQ(run.messenger.shown().first().title, "Ошибка");
    EXPECT_FALSE(AnyRequestFor(run, "/daily/"));
    EXPECT_TRUE(run.idle());
}

TEST(ProxyLogin, RussianLoginKeptInUtf8WorksOnTheSecondTry) {
    E2ERun run({"--proxy-auth", "читатель:пароль"});
    ASSERT_TRUE(run.ready());
    run.UseAuthorisedProxy();
    run.app.settings.ProxyLogin = "читатель";
    run.app.settings.ProxyPass = "пароль";
    run.app.settings.DownloadImages = false;
    run.Download(NewspaperSource);
    EXPECT_EQ(run.controller.Stat, Loaded);
    EXPECT_TRUE(run.messenger.shown().isEmpty());
    const QList<ByteText> heads = run.site.requests();
    ASSERT_GT(heads.size(), 3);
    const ByteText cp1251 = "Basic " + W("читатель:пароль").toBase64() + "\r\n";
    const ByteText utf8 = "Basic " + ByteText("читатель:пароль").toBase64() + "\r\n";
    EXPECT_TRUE(heads[0].contains(cp1251));
    for (qsizetype i = 1; i < heads.size(); ++i)
        EXPECT_TRUE(heads[i].contains(utf8)) << i;
}
