// The catalogue's server over loopback, as readers on a weak link meet it:
// clients that never read their book, refusals read to the end, requests
// without header lines. The server runs on a thread of its own, as it does
// in norvel2 --serve, with its stall limit shortened.
#include "archive/catalogue_server.h"
#include "tests/ereader/issue_folders.h"

#include <QElapsedTimer>
#include <QSemaphore>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

constexpr int StallLimitMs = 400;

class ServerThread : public QThread {
public:
    explicit ServerThread(const QString& folder) : folder_(folder) {
        start();
        ready_.acquire();
    }
    ~ServerThread() override {
        quit();
        wait();
    }
    quint16 port = 0;

private:
    void run() override {
        CatalogueServer server(folder_);
        server.setStallLimit(StallLimitMs);
        server.listen(0, QHostAddress::LocalHost);
        port = server.port();
        ready_.release();
        exec();
    }
    QString folder_;
    QSemaphore ready_;
};

// Sends request as it is and reads the answer until the server closes.
QByteArray exchange(quint16 port, const QByteArray& request) {
    QTcpSocket socket;
    socket.connectToHost("127.0.0.1", port);
    if (!socket.waitForConnected(5000))
        return {};
    socket.write(request);
    QByteArray answer;
    while (socket.state() == QAbstractSocket::ConnectedState && socket.waitForReadyRead(5000))
        answer += socket.readAll();
    return answer + socket.readAll();
}

struct Answer {
    int status = 0;
    qint64 contentLength = -1;
    QByteArray body;
};

Answer parse(const QByteArray& bytes) {
    Answer answer;
    const qsizetype end = bytes.indexOf("\r\n\r\n");
    answer.status = bytes.mid(9, 3).toInt();
    for (const QByteArray& line : bytes.left(end).split('\n')) {
        if (line.toLower().startsWith("content-length:"))
            answer.contentLength = line.mid(15).trimmed().toLongLong();
    }
    answer.body = end < 0 ? QByteArray() : bytes.mid(end + 4);
    return answer;
}

struct Archive {
    QTemporaryDir root;
    QString download = root.path() + "/Download";
    Archive() {
        MakeIssueFolder(download, "2026.02.03", QDate(2026, 2, 3), "24003", 1, {}, true);
        WriteFile(download, "2026.02.03.epub", QByteArray(32 << 20, 'b'));
    }
};

std::vector<std::unique_ptr<QTcpSocket>> connectClients(quint16 port, const QByteArray& request) {
    std::vector<std::unique_ptr<QTcpSocket>> clients;
    for (int i = 0; i < CatalogueServer::MaxClients; ++i) {
        clients.push_back(std::make_unique<QTcpSocket>());
        clients.back()->connectToHost("127.0.0.1", port);
        clients.back()->waitForConnected(5000);
        clients.back()->write(request);
        clients.back()->waitForBytesWritten(5000);
    }
    return clients;
}

} // namespace

TEST(CatalogueLoopback, ReadersThatNeverReadTheirBookHoldNoPlaceForGood) {
    Archive archive;
    ServerThread server(archive.download);
    // A 32 MB book fills every buffer between server and client at once.
    const auto stalled = connectClients(server.port, "GET /epub/2026.02.03.epub HTTP/1.1\r\n\r\n");
    QElapsedTimer clock;
    clock.start();
    Answer feed;
    while (feed.status != 200 && clock.elapsed() < 2000) {
        feed = parse(exchange(server.port, "GET /opds HTTP/1.1\r\nHost: x\r\n\r\n"));
        if (feed.status != 200)
            QThread::msleep(50);
    }
    EXPECT_EQ(feed.status, 200) << "a ninth client within 2 s, " << clock.elapsed() << " ms";
    EXPECT_GE(clock.elapsed(), StallLimitMs / 2) << "the eight held every place at first";
}

// Every refusal is read to its end: its body is as long as it says, and
// the connection is not reset under it, even when the client was still
// sending.
TEST(CatalogueLoopback, EveryAnswerSendsTheBodyItAnnounces) {
    Archive archive;
    ServerThread server(archive.download);
    const QList<std::pair<int, QByteArray>> requests = {
        {400, "BREW /pot\r\n\r\n"},
        {404, "GET /epub/none.epub HTTP/1.1\r\n\r\n"},
        {405, "DELETE /epub/2026.02.03.epub HTTP/1.1\r\n\r\n"},
        {416, "GET /epub/2026.02.03.epub HTTP/1.1\r\nRange: bytes=999999999-\r\n\r\n"},
        {431, "GET /opds HTTP/1.1\r\nX-Filler: " + QByteArray(64 * 1024, 'f') + "\r\n\r\n"},
    };
    for (const auto& [status, request] : requests) {
        const Answer answer = parse(exchange(server.port, request));
        EXPECT_EQ(answer.status, status);
        EXPECT_GT(answer.contentLength, 0) << status;
        EXPECT_EQ(answer.body.size(), answer.contentLength) << status;
    }
    QThread::msleep(StallLimitMs + 200); // the last client may still be sending
    const auto waiting = connectClients(server.port, "GET /opds HTTP/1.1\r\nHost: x\r\n");
    QThread::msleep(100);
    const Answer busy = parse(exchange(server.port, "GET /opds HTTP/1.1\r\n\r\n"));
    EXPECT_EQ(busy.status, 503);
    EXPECT_EQ(busy.body.size(), busy.contentLength);
    EXPECT_EQ(busy.body, "503 Service Unavailable\n");
}

// HTTP/1.0 lets a request end right after its request line; HEAD gets the
// head alone whatever the answer.
TEST(CatalogueLoopback, ARequestWithoutHeaderLinesIsAnsweredAndHeadHasNoBody) {
    Archive archive;
    ServerThread server(archive.download);
    const Answer feed = parse(exchange(server.port, "GET /opds HTTP/1.0\r\n\r\n"));
    EXPECT_EQ(feed.status, 200);
    EXPECT_TRUE(feed.body.contains("<feed "));
    EXPECT_EQ(parse(exchange(server.port, "GET /opds HTTP/1.0\n\n")).status, 200);
    for (const QByteArray& request :
         {QByteArray("HEAD /opds HTTP/1.0\r\n\r\n"),
          QByteArray("HEAD /epub/2026.02.03.epub HTTP/1.0\r\n\r\n"),
          QByteArray("HEAD /epub/none.epub HTTP/1.0\r\n\r\n"), QByteArray("HEAD /opds\r\n\r\n")}) {
        const Answer head = parse(exchange(server.port, request));
        EXPECT_GT(head.status, 0) << request.toStdString();
        EXPECT_GT(head.contentLength, 0) << request.toStdString();
        EXPECT_TRUE(head.body.isEmpty()) << request.toStdString();
    }
}
