// The download control over real loopback sockets against a canned server:
// the transfer mechanics that need exact control of what the peer does and
// when. The demo site tests cover the fault switches.
#include "net/download_control.h"
#include "tests/net/canned_server.h"
#include "tests/support/scripted_messenger.h"
#include "tests/support/temp_program_folder.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

struct Recorder {
    explicit Recorder(Download_Control& dc) {
        QObject::connect(&dc, &Download_Control::statusChanged,
                         [this](const QString& text, bool link) {
                             statuses.append(text);
                             links.append(link);
                         });
        QObject::connect(&dc, &Download_Control::mainStatusChanged,
                         [this](const QString& text) { mainStatuses.append(text); });
        QObject::connect(&dc, &Download_Control::trafficChanged,
                         [this](const QString& text) { trafficLabels.append(text); });
        QObject::connect(&dc, &Download_Control::frameChanged,
                         [this](int frame) { frames.append(frame); });
    }
    QStringList statuses, mainStatuses, trafficLabels;
    QList<bool> links;
    QList<int> frames;
};

class ControlTest : public ::testing::Test {
protected:
    ControlTest() {
        dc.setTrafficCounter(&traffic);
        dc.RHost(server.host());
        dc.PathCasheFiles(home.file("cashe"));
        dc.setMessenger(&messenger);
    }

    TempProgramFolder home;
    CannedServer server;
    Download_Control dc;
    Recorder record{dc};
    ScriptedMessenger messenger;
    int32_t traffic = 0;
};

ByteText Ok(const ByteText& body) {
    return "HTTP/1.0 200 OK\r\n\r\n" + body;
}

} // namespace

TEST_F(ControlTest, DirectFetchSendsTheRequestAndReturnsTheWholeResponse) {
    server.reply = Ok("<html>page</html>");
    EXPECT_EQ(dc.Down("/daily/", false), server.reply);
    ASSERT_EQ(server.requests.size(), 1);
    EXPECT_EQ(server.requests[0], dc.RequestFor("/daily/"));
    EXPECT_TRUE(server.requests[0].startsWith("GET /daily/ HTTP/1.0\r\n"));
    EXPECT_EQ(dc.StatusText(), "Загрузка завершена");
    EXPECT_FALSE(dc.Animating());
    EXPECT_EQ(traffic, server.requests[0].size() + server.reply.size());
    EXPECT_EQ(record.trafficLabels.last(), Download_Control::TrafficText(traffic));
}

TEST_F(ControlTest, ResponseArrivingByteByByteComesBackWhole) {
    ByteText body;
    for (int b = 0; b < 256; ++b)
        body += char(b);
    server.reply = Ok(body);
    server.chunkSize = 1;
    EXPECT_EQ(dc.Down("/img/1.gif", false), server.reply);
    EXPECT_TRUE(record.statuses.contains(
        QStringLiteral("Загрузка данных: %1 Bytes").arg(server.reply.size())));
    // It did arrive in many pieces, each counted as it came.
    EXPECT_GT(record.statuses.filter("Загрузка данных: ").size(), 50);
}

TEST_F(ControlTest, ConnectingStatusDependsOnTheHostLength) {
    // Both spellings reach port 65535 on loopback; only the length differs.
    dc.RHost("127.0.0.1:65535");
    dc.Down("/", false);
    EXPECT_EQ(record.statuses[1], "Подключение к http://127.0.0.1:65535...");
    record.statuses.clear();
    dc.RHost("127.0.0.1:065535");
    dc.Down("/", false);
    EXPECT_EQ(record.statuses[1], "Соединение с 127.0.0.1:065535...");
}

TEST_F(ControlTest, RefusedConnectionIsALinkThatOpensTheErrorWindow) {
    const quint16 port = server.port();
    server.close();
    dc.RHost("127.0.0.1:" + ByteText::number(port));
    EXPECT_EQ(dc.Down("/", false), "error");
    EXPECT_TRUE(dc.StatusIsLink());
    // The code and Russian text wserror.dat lists for a refused connection.
    EXPECT_EQ(dc.StatusText(), "Ошибка 10061 (В подключении отказано)");
    EXPECT_EQ(record.mainStatuses.last(), "Ошибка подключения");
    EXPECT_EQ(traffic, 0);

    home.write("data/wserror.dat", "<html>codes</html>");
    QString opened;
    dc.setErrorWindowOpener([&opened](const QString& path) { opened = path; });
    dc.StatusClicked();
    EXPECT_EQ(opened, home.file("data/wserror.dat"));
    EXPECT_TRUE(messenger.shown().isEmpty());

    QFile::remove(home.file("data/wserror.dat"));
    opened.clear();
    dc.StatusClicked();
    EXPECT_TRUE(opened.isEmpty());
    ASSERT_EQ(messenger.shown().size(), 1);
    EXPECT_EQ(messenger.shown()[0].text,
              "Не найден файл с описанием ошибок!\r\n" + home.file("data/wserror.dat"));
    EXPECT_EQ(messenger.shown()[0].title, "Ошибка");
    EXPECT_EQ(messenger.shown()[0].icon, MessageIcon::Error);

    // The next fetch draws the label normally again, and a click does nothing.
    server.listen(QHostAddress::LocalHost, port);
    dc.Down("/", false);
    EXPECT_FALSE(dc.StatusIsLink());
    dc.StatusClicked();
    EXPECT_EQ(messenger.shown().size(), 1);
}

TEST_F(ControlTest, SilentServerEndsInErrorAfterTheSilenceLimit) {
    EXPECT_EQ(Download_Control::DefaultSilenceLimitMs, 60'000);
    server.mode = CannedServer::Mode::Silent;
    dc.setSilenceLimit(300);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(dc.Down("/", false), "error");
    EXPECT_GE(clock.elapsed(), 250);
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(dc.StatusText(), "Сервер не отвечает 1 с, загрузка прекращена");
    EXPECT_EQ(record.mainStatuses.last(), "Ошибка подключения: сервер не отвечает");
}

TEST_F(ControlTest, SlowTrickleIsNotSilence) {
    // Pieces 150 ms apart for about two seconds, five times the silence
    // limit: only a limit that restarts with every piece lets it through.
    server.reply = Ok(ByteText(40, 'a'));
    server.chunkSize = 4;
    server.intervalMs = 150;
    dc.setSilenceLimit(400);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(dc.Down("/", false), server.reply);
    EXPECT_GE(clock.elapsed(), 5 * dc.silenceLimit());
}

TEST_F(ControlTest, TrickleEndsAtTheFetchLimit) {
    EXPECT_EQ(Download_Control::DefaultFetchLimitMs, 10 * 60 * 1000);
    EXPECT_EQ(Download_Control().fetchLimit(), Download_Control::DefaultFetchLimitMs);
    // One byte every 100 ms would take minutes; the silence limit never fires.
    server.reply = Ok(ByteText(2000, 'a'));
    server.chunkSize = 1;
    server.intervalMs = 100;
    dc.setSilenceLimit(400);
    dc.setFetchLimit(1500);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(dc.Down("/img/1.gif", true), "error");
    EXPECT_GE(clock.elapsed(), 1400);
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_TRUE(dc.StatusText().startsWith("Загрузка не завершилась за 2 с, прекращена ("))
        << dc.StatusText().toStdString();
    ASSERT_FALSE(record.mainStatuses.isEmpty());
    EXPECT_EQ(record.mainStatuses.last(),
              "Ошибка загрузки: сервер передаёт данные слишком медленно");
    EXPECT_EQ(dc.SizeCashe(), 0);
    EXPECT_FALSE(dc.Animating());
    // The limit holds per fetch: the next one has the whole of it again.
    server.reply = Ok("quick");
    server.chunkSize = 0;
    EXPECT_EQ(dc.Down("/", false), server.reply);
}

TEST_F(ControlTest, StopDuringTheTransferReturnsStop) {
    // Pieces 10 ms apart; the stop comes once the first of them is in, so
    // the transfer is surely under way and surely not finished.
    server.reply = Ok(ByteText(10000, 'a'));
    server.chunkSize = 100;
    server.intervalMs = 10;
    const QMetaObject::Connection stopOnData =
        QObject::connect(&dc, &Download_Control::statusChanged, &dc, [this](const QString& text) {
            if (text.startsWith("Загрузка данных: "))
                dc.Stopped();
        });
    EXPECT_EQ(dc.Down("/", false), "stop");
    QObject::disconnect(stopOnData);
    ASSERT_EQ(record.statuses.filter("Загрузка данных: ").size(), 1);
    EXPECT_EQ(dc.StatusText(), "Загрузка прервана");
    EXPECT_EQ(record.mainStatuses.last(), "Загрузка прервана");
    EXPECT_FALSE(dc.Animating());
    EXPECT_EQ(dc.Frame(), 0);
    // The control is ready for the next fetch at once.
    server.chunkSize = 0;
    EXPECT_EQ(dc.Down("/", false), server.reply);
}

TEST_F(ControlTest, AnimationTurnsEveryHalfSecondWhileWaiting) {
    server.delayMs = 1300;
    dc.Down("/", false);
    ASSERT_GE(record.frames.size(), 3);
    EXPECT_EQ(record.frames.mid(0, 2), (QList<int>{1, 2}));
    EXPECT_EQ(record.frames.last(), 0);
    EXPECT_EQ(Download_Control::AnimationIntervalMs, 500);
}

TEST_F(ControlTest, CacheHitNeedsNoConnectionAndNoTraffic) {
    server.reply = Ok(W("страница"));
    EXPECT_EQ(dc.Down("/daily/", true), server.reply);
    EXPECT_EQ(dc.SizeCashe(), 1);
    const int32_t afterFirst = traffic;
    server.reply = Ok("changed");
    EXPECT_EQ(dc.Down("/daily/", true), Ok(W("страница")));
    EXPECT_EQ(server.connections, 1);
    EXPECT_EQ(traffic, afterFirst);
    EXPECT_EQ(dc.StatusText(), "Файл взят из кэша");
    // Without the cache flag the network is asked again.
    EXPECT_EQ(dc.Down("/daily/", false), Ok("changed"));
    EXPECT_EQ(server.connections, 2);
}

TEST_F(ControlTest, FetchWithoutTheCacheFlagStoresNothing) {
    server.reply = Ok("main page");
    EXPECT_EQ(dc.Down("/", false), server.reply);
    EXPECT_EQ(dc.Down("/version.info", false), server.reply);
    EXPECT_EQ(dc.SizeCashe(), 0);
    EXPECT_FALSE(QFile::exists(home.file("cashe/cashe00001.tmp")));
    // Asked afterwards with the flag, the cache has nothing to give.
    EXPECT_EQ(dc.Down("/", true), server.reply);
    EXPECT_EQ(server.connections, 3);
}

TEST_F(ControlTest, DamagedCacheEntryIsFetchedAgainAndReplaced) {
    const ByteText whole = "HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\n0123456789";
    server.reply = whole;
    ASSERT_EQ(dc.Down("/img/1.gif", true), whole);
    ASSERT_EQ(dc.Down("/img/2.gif", true), whole);
    // A crash cut one file short; another lost its header's end.
    home.write("cashe/cashe00001.tmp", whole.chopped(3));
    home.write("cashe/cashe00002.tmp", "HTTP/1.0 200 OK\r\nContent-Le");
    EXPECT_EQ(dc.Down("/img/1.gif", true), whole);
    EXPECT_EQ(dc.Down("/img/2.gif", true), whole);
    EXPECT_EQ(server.connections, 4);
    EXPECT_FALSE(QFile::exists(home.file("cashe/cashe00001.tmp")));
    EXPECT_FALSE(QFile::exists(home.file("cashe/cashe00002.tmp")));
    // Stored again, they are hits from now on.
    EXPECT_EQ(dc.Down("/img/1.gif", true), whole);
    EXPECT_EQ(dc.Down("/img/2.gif", true), whole);
    EXPECT_EQ(server.connections, 4);
    EXPECT_EQ(dc.SizeCashe(), 4);
}

TEST_F(ControlTest, LineBreaksInAPathNeverReachTheRequestHead) {
    const char raw[] = "/img/a b\r\nX-Injected: yes\r\n\r\nGET /other HTTP/1.0\0\t\x7f.gif";
    const ByteText hostile(raw, sizeof raw - 1);
    EXPECT_EQ(dc.Down(hostile, true), server.reply);
    ASSERT_EQ(server.requests.size(), 1);
    const ByteText head = server.requests[0];
    EXPECT_TRUE(head.startsWith("GET /img/a%20b%0D%0AX-Injected:%20yes%0D%0A%0D%0AGET%20/other%20"
                                "HTTP/1.0%00%09%7F.gif HTTP/1.0\r\nAccept: */*\r\n"))
        << head.constData();
    EXPECT_EQ(head.count("\r\n"), 8);
    // The cache index keeps the address on its one line, as the request spells it.
    dc.ClearCashe();
    EXPECT_EQ(dc.Down(hostile, true), server.reply);
    EXPECT_EQ(dc.Down(hostile, true), server.reply);
    EXPECT_EQ(server.connections, 2);
    const ByteText index = home.read("cashe/!Cashe.dat");
    EXPECT_FALSE(index.contains("X-Injected: yes")) << index.constData();
}

TEST_F(ControlTest, HostWithABlankOrLineBreakIsRefusedBeforeConnecting) {
    for (const ByteText& host :
         {server.host() + "\r\nX-Injected: yes", "127.0.0.1 :1" + server.host()}) {
        dc.RHost(host);
        EXPECT_EQ(dc.Down("/", false), "error");
        EXPECT_TRUE(dc.StatusText().startsWith("Недопустимое имя сервера: "));
    }
    EXPECT_EQ(server.connections, 0);
}

TEST_F(ControlTest, NonNumericProxyPortFailsBeforeConnecting) {
    dc.UseProxyServer("127.0.0.1", "eighty", true);
    EXPECT_EQ(dc.Down("/", false), "error");
    EXPECT_EQ(dc.StatusText(), "Неверный порт прокси-сервера: eighty");
    EXPECT_EQ(server.connections, 0);
}

TEST_F(ControlTest, SecondDownWhileOneWaitsIsRefused) {
    server.delayMs = 200;
    ByteText inner;
    QTimer::singleShot(50, &dc, [this, &inner] { inner = dc.Down("/other", false); });
    EXPECT_EQ(dc.Down("/", false), server.reply);
    EXPECT_EQ(inner, "error");
    EXPECT_EQ(server.requests.size(), 1);
}

TEST(TrafficText, WholeKilobytesOnly) {
    EXPECT_EQ(Download_Control::TrafficText(0), "Трафик: 0 Кб");
    EXPECT_EQ(Download_Control::TrafficText(1023), "Трафик: 0 Кб");
    EXPECT_EQ(Download_Control::TrafficText(1024), "Трафик: 1 Кб");
    EXPECT_EQ(Download_Control::TrafficText(5 * 1024 * 1024 + 5), "Трафик: 5120 Кб");
}
