// The catalogue of ten years of a daily paper as an e-reader meets it: the
// real norvel2 --serve on a generated archive of 3,650 issues, each with its
// book (pages, pictures and books are hard links, so the archive takes
// little room), asked for its feeds over loopback by a client here, one
// request at a time. Shown: the time until the server listens, each feed's
// median and largest answer time and its size, the server's memory (RSS
// and its peak) after all requests, and the first request of an issue
// without a book beside norvel2 --epub making the same book.
//
//   bench_catalogue [issues] [rounds]     (default 3650 issues, 30 rounds)

#include "tests/support/issue_folders.h"
#include "tests/support/temp_program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

struct Answer {
    double ms = 0;
    qint64 bytes = 0;
    bool ok = false;
};

Answer fetch(quint16 port, const QByteArray& path) {
    QElapsedTimer clock;
    clock.start();
    QTcpSocket socket;
    socket.connectToHost("127.0.0.1", port);
    Answer answer;
    if (!socket.waitForConnected(10'000))
        return answer;
    socket.write("GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
    QByteArray bytes;
    while (socket.state() == QAbstractSocket::ConnectedState && socket.waitForReadyRead(60'000))
        bytes += socket.readAll();
    bytes += socket.readAll();
    answer.ms = clock.nsecsElapsed() / 1e6;
    answer.ok = bytes.startsWith("HTTP/1.1 200 ");
    answer.bytes = bytes.size() - bytes.indexOf("\r\n\r\n") - 4;
    return answer;
}

long statusKb(qint64 pid, const char* field) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// Every issue gets a book: one file, hard-linked under each issue's name.
void giveBooks(const QString& download, const QStringList& names) {
    const QString shared = QFileInfo(download).path() + "/.generated-book.epub";
    QFile book(shared);
    if (book.open(QIODevice::WriteOnly))
        book.write(QByteArray(200'000, 'b'));
    book.close();
    for (const QString& name : names)
        ::link(QFile::encodeName(shared).constData(),
               QFile::encodeName(download + "/" + name + ".epub").constData());
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int issues = argc > 1 ? std::atoi(argv[1]) : 3650;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 30;
    TempProgramFolder home;
    const QString download = home.file("Download");
    const QDate newest(2026, 2, 10);
    QStringList names = MakeGeneratedArchive(download, issues, newest);
    // Two issues without a book, alike but for their date and number: one
    // for norvel2 --epub, one for the server.
    const QStringList bare = MakeGeneratedArchive(home.file("Bare"), 2, QDate(2030, 1, 2));
    giveBooks(download, names);
    std::printf("archive: %d issues with books, generated\n", issues);

    QProcess server;
    QElapsedTimer clock;
    clock.start();
    server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    server.start(TempProgramFolder::binDir() + "/norvel2", {"--serve", "0"});
    quint16 port = 0;
    QByteArray out;
    static const QRegularExpression portLine("порт (\\d+)");
    while (port == 0 && server.waitForReadyRead(60'000)) {
        out += server.readAllStandardOutput();
        const auto match = portLine.match(QString::fromUtf8(out));
        port = match.hasMatch() ? quint16(match.captured(1).toUInt()) : 0;
    }
    if (port == 0) {
        std::fprintf(stderr, "the server did not start\n");
        return 1;
    }
    std::printf("server listening after %.0f ms (reads the archive once)\n\n",
                clock.elapsed() * 1.0);

    const QList<QByteArray> feeds = {"/opds",
                                     "/opds/new",
                                     "/opds/kp",
                                     "/opds/kp/2020",
                                     "/opds/kp/2020/06",
                                     "/search?q=2020-06",
                                     "/search?q=2021",
                                     "/search?q=2021&page=8",
                                     "/"};
    std::printf("%-24s %10s %10s %10s\n", "feed", "median ms", "max ms", "bytes");
    double worstMedian = 0;
    qint64 largest = 0;
    for (const QByteArray& feed : feeds) {
        std::vector<double> times;
        Answer last;
        for (int i = 0; i < rounds; ++i) {
            last = fetch(port, feed);
            times.push_back(last.ms);
        }
        const double mid = median(times);
        worstMedian = std::max(worstMedian, mid);
        largest = std::max(largest, last.bytes);
        std::printf("%-24s %10.2f %10.2f %10lld%s\n", feed.constData(), mid,
                    *std::max_element(times.begin(), times.end()), (long long)last.bytes,
                    last.ok ? "" : "  (not 200)");
    }
    std::printf("\nslowest median %.2f ms (goal <= 20), largest feed %lld bytes (goal <= 102400)\n",
                worstMedian, (long long)largest);
    std::printf("server RSS %ld KB, peak %ld KB (goal <= 61440)\n",
                statusKb(server.processId(), "VmRSS:"), statusKb(server.processId(), "VmHWM:"));

    // The same book both ways: norvel2 --epub as a user runs it, then the
    // server's first request for the twin issue moved into the archive.
    QElapsedTimer epub;
    epub.start();
    const int made = QProcess::execute(TempProgramFolder::binDir() + "/norvel2",
                                       {"--epub", home.file("Bare/" + bare[0])});
    const double epubMs = epub.nsecsElapsed() / 1e6;
    QDir().rename(home.file("Bare/" + bare[1]), download + "/" + bare[1]);
    const Answer takenIn = fetch(port, "/opds/new");
    std::printf("\na new issue taken in: /opds/new %.1f ms\n", takenIn.ms);
    const Answer first = fetch(port, "/epub/" + bare[1].toUtf8() + ".epub");
    std::printf("\nbook of an issue without one: norvel2 --epub %.1f ms%s, first request %.1f ms "
                "(%s, %lld bytes; goal <= --epub + 10%%)\n",
                epubMs, made == 0 ? "" : " (failed)", first.ms, first.ok ? "200" : "not 200",
                (long long)first.bytes);
    server.terminate();
    server.waitForFinished(5000);
    return 0;
}
