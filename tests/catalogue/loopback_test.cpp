// The catalogue's server over loopback, as readers on a weak link meet it:
// clients that never read their book, refusals read to the end, requests
// without header lines. The server runs on a thread of its own, as it does
// in norvel2 --serve, with its stall limit shortened.
#include "catalogue/server.h"
#include "tests/support/issue_folders.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSemaphore>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <QXmlStreamReader>
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

struct ServedArchive {
    QTemporaryDir root;
    QString download = root.path() + "/Download";
    ServedArchive() {
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
    ServedArchive archive;
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
    ServedArchive archive;
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
    ServedArchive archive;
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

namespace {

struct FeedLinks {
    QMultiMap<QString, QString> byRel; // rel -> href
    QStringList books;                 // the entries' book links
    qsizetype size = 0;
};

FeedLinks get(quint16 port, const QString& path) {
    const Answer answer =
        parse(exchange(port, "GET " + path.toUtf8() + " HTTP/1.1\r\nHost: x\r\n\r\n"));
    FeedLinks links;
    links.size = answer.body.size();
    QXmlStreamReader reader(answer.body);
    bool inEntry = false;
    while (!reader.atEnd()) {
        const auto token = reader.readNext();
        if (reader.name() == QLatin1String("entry"))
            inEntry = token == QXmlStreamReader::StartElement;
        if (token != QXmlStreamReader::StartElement || reader.name() != QLatin1String("link"))
            continue;
        const QString rel = reader.attributes().value("rel").toString();
        const QString href = reader.attributes().value("href").toString();
        if (inEntry && rel == "http://opds-spec.org/acquisition")
            links.books << href;
        else
            links.byRel.insert(rel, href);
    }
    return links;
}

} // namespace

// A reader starting at /opds and following the ways on and the next pages
// (not the shortcut to the newest) meets every issue exactly once; no
// feed holds more than a page of issues; the newest are one step away.
TEST(CatalogueLoopback, TheNavigationReachesEveryIssueExactlyOnce) {
    QTemporaryDir root;
    const QString download = root.path() + "/Download";
    QStringList issues = MakeGeneratedArchive(download, 240, QDate(2025, 12, 31));
    issues += MakeGeneratedArchive(download, 93, QDate(2026, 1, 31), 3); // a long month
    issues += MakeGeneratedArchive(download, 12, QDate(2026, 1, 29), 1, true);
    ServerThread server(download);

    QMap<QString, int> seen;
    QStringList toVisit{"/opds"}, visited;
    while (!toVisit.isEmpty()) {
        const QString path = toVisit.takeFirst();
        visited << path;
        const FeedLinks feed = get(server.port, path);
        EXPECT_LE(feed.books.size(), 50) << path.toStdString();
        EXPECT_LE(feed.size, 100 * 1024) << path.toStdString();
        for (const QString& book : feed.books)
            ++seen[book];
        for (const char* rel : {"subsection", "next"}) {
            for (const QString& href : feed.byRel.values(rel)) {
                if (!visited.contains(href) && !toVisit.contains(href))
                    toVisit << href;
            }
        }
    }
    EXPECT_EQ(seen.size(), issues.size());
    for (const QString& name : issues)
        EXPECT_EQ(seen.value("/epub/" + name + ".epub"), 1) << name.toStdString();
    EXPECT_TRUE(visited.contains("/opds/kp/2026/01?page=2")) << visited.join(' ').toStdString();
    const FeedLinks lastPage = get(server.port, "/opds/kp/2026/01?page=2");
    EXPECT_EQ(lastPage.books.size(), 93 - 50);
    for (const auto& [rel, href] : {std::pair{"first", "/opds/kp/2026/01"},
                                    {"previous", "/opds/kp/2026/01"},
                                    {"last", "/opds/kp/2026/01?page=2"},
                                    {"self", "/opds/kp/2026/01?page=2"},
                                    {"up", "/opds/kp/2026"},
                                    {"start", "/opds"}})
        EXPECT_EQ(lastPage.byRel.values(rel), QStringList{href}) << rel;
    const FeedLinks newest =
        get(server.port, get(server.port, "/opds").byRel.value("http://opds-spec.org/sort/new"));
    EXPECT_EQ(newest.books.size(), 20);
    EXPECT_EQ(newest.books.value(0), "/epub/2026.01.31.epub");
}

// An issue without a book is offered; its book is made on the first
// request, once, beside the folder; an issue downloaded while the server
// runs appears without a restart.
TEST(CatalogueLoopback, ABookIsMadeOnItsFirstRequestAndNewIssuesAppear) {
    QTemporaryDir root;
    const QString download = root.path() + "/Download";
    MakeGeneratedArchive(download, 3, QDate(2026, 2, 3));
    QDir().mkpath(download + "/2026.02.02.epub"); // where the book would go
    ServerThread server(download);
    const QString bookPath = download + "/2026.02.03.epub";
    ASSERT_FALSE(QFile::exists(bookPath));

    const Answer first = parse(exchange(server.port, "GET /epub/2026.02.03.epub HTTP/1.1\r\n\r\n"));
    EXPECT_EQ(first.status, 200);
    EXPECT_TRUE(first.body.startsWith("PK")) << "a ZIP";
    QFile book(bookPath);
    ASSERT_TRUE(book.open(QIODevice::ReadOnly));
    EXPECT_EQ(book.readAll(), first.body);
    const QDateTime made = QFileInfo(bookPath).lastModified();
    const Answer second =
        parse(exchange(server.port, "GET /epub/2026.02.03.epub HTTP/1.1\r\n\r\n"));
    EXPECT_EQ(second.body, first.body);
    EXPECT_EQ(QFileInfo(bookPath).lastModified(), made) << "made once";

    const Answer refused =
        parse(exchange(server.port, "GET /epub/2026.02.02.epub HTTP/1.1\r\n\r\n"));
    EXPECT_EQ(refused.status, 500);
    EXPECT_TRUE(
        refused.body.startsWith(QStringLiteral("Книгу номера не удалось создать").toUtf8()));

    // A large book in the making holds up no other request.
    MakeGeneratedArchive(download + "/../Large", 1, QDate(2026, 1, 20), 1, false, 600);
    QDir().rename(download + "/../Large/2026.01.20", download + "/2026.01.20");
    QTcpSocket large;
    large.connectToHost("127.0.0.1", server.port);
    ASSERT_TRUE(large.waitForConnected(5000));
    large.write("GET /epub/2026.01.20.epub HTTP/1.1\r\n\r\n");
    large.waitForBytesWritten(5000);
    QThread::msleep(20);
    EXPECT_EQ(parse(exchange(server.port, "GET /opds HTTP/1.1\r\n\r\n")).status, 200);
    EXPECT_FALSE(QFile::exists(download + "/2026.01.20.epub"))
        << "answered while the book was made";
    EXPECT_TRUE(large.waitForReadyRead(60'000));

    MakeGeneratedArchive(download + "/../Later", 1, QDate(2026, 2, 4));
    QDir().rename(download + "/../Later/2026.02.04", download + "/2026.02.04");
    EXPECT_EQ(get(server.port, "/opds/new").books.value(0), "/epub/2026.02.04.epub");
}
