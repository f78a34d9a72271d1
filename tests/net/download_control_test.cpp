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
    server.reply = Ok(ByteText(40, 'a'));
    server.chunkSize = 4;
    server.delayMs = 150;
    dc.setSilenceLimit(400);
    EXPECT_EQ(dc.Down("/", false), server.reply);
}

TEST_F(ControlTest, StopDuringTheTransferReturnsStop) {
    server.reply = Ok(ByteText(10000, 'a'));
    server.chunkSize = 100;
    QTimer::singleShot(30, &dc, [this] { dc.Stopped(); });
    EXPECT_EQ(dc.Down("/", false), "stop");
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
