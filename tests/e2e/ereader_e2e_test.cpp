// The real program for e-readers: unattended downloads from the demo site
// that leave a book epubcheck accepts and retire older issues, a book made
// by norvel2 --epub of an issue with failed pages, one made by "Книга EPUB"
// in the archive window, and the catalogue served by norvel2 --serve to
// clients over loopback.
#include "catalogue/server.h"
#include "settings/settings.h"
#include "tests/support/demo_site.h"
#include "tests/support/epub_reader.h"
#include "tests/support/issue_folders.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_program_folder.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QThread>
#include <QUrl>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

// epubcheck's whole report on a book; passed when it found neither an
// error nor a warning.
struct EpubCheck {
    bool passed = false;
    std::string report;
};

EpubCheck runEpubCheck(const QString& book) {
    const QString jar = QStandardPaths::findExecutable("epubcheck");
    if (jar.isEmpty())
        return {false, "epubcheck is not installed (scripts/bootstrap installs it)"};
    QProcess check;
    check.setProcessChannelMode(QProcess::MergedChannels);
    // One check lasts seconds: the quick compiler alone and one collector
    // thread take less than half the CPU time of the JVM's defaults.
    check.start("java", {"-XX:TieredStopAtLevel=1", "-XX:+UseSerialGC", "-jar", jar, book});
    check.waitForFinished(300'000);
    const QString report = QString::fromUtf8(check.readAll());
    return {check.exitCode() == 0 && report.contains("No errors or warnings detected."),
            report.toStdString()};
}

ProgramRun runCommand(const QString& home, const QStringList& arguments) {
    return RunProgram({home, arguments}, 120'000);
}

// The one issue folder a run added to those there before.
QString addedFolder(const TempProgramFolder& home, const QStringList& before) {
    QStringList added;
    for (const QString& name : IssueFolders(home.path())) {
        if (!before.contains(name))
            added << name;
    }
    return added.size() == 1 ? added.first() : QString();
}

} // namespace

TEST(ReaderProgram, AnUnattendedDownloadMakesTheBookAndRetiresOlderIssues) {
    TempProgramFolder home;
    DemoSite site;
    ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
    ASSERT_TRUE(site.installInto(home.path()));
    WriteOptions(home.path(), [](Settings& s) {
        s.MakeEpub = true;
        s.KeepIssues = 2;
    });
    const QString download = home.file("Download");
    MakeIssueFolder(download, "2006.11.01", QDate(2006, 11, 1), "23980", 1, {}, true);
    MakeIssueFolder(download, "2006.11.02", QDate(2006, 11, 2), "23981", 1, {}, true);
    MakeIssueFolder(download, "2006.10.30.KT", QDate(2006, 10, 30), "649", 1, {}, true);
    WriteFile(download, "mine/index.htm", "<html>not the program's</html>");
    const QStringList before = IssueFolders(home.path());

    const ProgramRun run = RunProgram(home.path(), "-kp");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0);
    const QString issue = addedFolder(home, before);
    ASSERT_FALSE(issue.isEmpty());
    EXPECT_EQ(QDir(download).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name),
              (QStringList{"2006.10.30.KT", "2006.10.30.KT.epub", "2006.11.02", "2006.11.02.epub",
                           issue, issue + ".epub", "mine"}));
    const EpubCheck check = runEpubCheck(download + "/" + issue + ".epub");
    EXPECT_TRUE(check.passed) << check.report;
}

TEST(ReaderProgram, AnUnattendedMagazineDownloadMakesABookEpubcheckAccepts) {
    TempProgramFolder home;
    DemoSite site;
    ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
    ASSERT_TRUE(site.installInto(home.path()));
    WriteOptions(home.path(), [](Settings& s) { s.MakeEpub = true; });
    const ProgramRun run = RunProgram(home.path(), "-kt");
    ASSERT_TRUE(run.finished);
    const QString issue = addedFolder(home, {});
    ASSERT_TRUE(issue.endsWith(".KT"));
    const QString book = home.file("Download/" + issue + ".epub");
    const EpubContents contents = ReadEpub(book);
    EXPECT_EQ(contents.manifest("properties").key("cover-image"), "img/cover.jpg");
    const EpubCheck check = runEpubCheck(book);
    EXPECT_TRUE(check.passed) << check.report;
}

TEST(ReaderProgram, TheBookOfAnIssueWithFailedPagesComesFromTheCommandLine) {
    TempProgramFolder home;
    DemoSite site({"--fault", "/100203/print/=404", "--fault", "/100207/print/=404"});
    ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
    ASSERT_TRUE(site.installInto(home.path()));
    const ProgramRun run = RunProgram(home.path(), "-kp");
    ASSERT_TRUE(run.finished);
    const QString issue = addedFolder(home, {});
    ASSERT_FALSE(issue.isEmpty());
    EXPECT_FALSE(QFile::exists(home.file("Download/" + issue + ".epub"))) << "MakeEpub is off";

    const ProgramRun made = runCommand(home.path(), {"--epub", issue});
    EXPECT_EQ(made.exitCode, 0) << made.errors.toStdString();
    const QString book = home.file("Download/" + issue + ".epub");
    EXPECT_TRUE(QString::fromUtf8(made.output).contains(book)) << made.output.toStdString();
    const EpubContents contents = ReadEpub(book);
    EXPECT_EQ(contents.spine().size(), 1 + 22);
    EXPECT_FALSE(contents.spine().contains("page3.xhtml"));
    EXPECT_FALSE(contents.spine().contains("page7.xhtml"));
    const QList<QByteArray> fromPage2 =
        AttributeValues(contents.bytes("OEBPS/page2.xhtml"), "a", "href");
    // The previous page, the issue's contents, and the failed next page.
    ASSERT_EQ(fromPage2.size(), 3);
    EXPECT_EQ(fromPage2[0], "page1.xhtml");
    EXPECT_EQ(contents.spine().value(0), fromPage2[1]);
    EXPECT_TRUE(fromPage2[2].startsWith("http://" + site.newspaper() + "/daily/"))
        << "the failed page is read on the site: " << fromPage2[2].toStdString();
    const EpubCheck check = runEpubCheck(book);
    EXPECT_TRUE(check.passed) << check.report;

    WriteFile(home.path(), "notes/index.htm", "<html>notes</html>");
    const ProgramRun refused = runCommand(home.path(), {"--epub", home.file("notes")});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.errorText().contains("index.htm")) << refused.errors.toStdString();
    EXPECT_EQ(runCommand(home.path(), {"--epub"}).exitCode, 2);
}

// The program started by a user: "Архив", the second issue, "Книга EPUB",
// "OK" under the message that follows, "Отмена", "Выход".
TEST(ReaderProgram, TheArchiveWindowMakesTheBookOfTheChosenIssue) {
    TempProgramFolder home;
    const QString download = home.file("Download");
    MakeIssueFolder(download, "2026.02.01", QDate(2026, 2, 1), "24001", 3);
    MakeIssueFolder(download, "2026.02.02", QDate(2026, 2, 2), "24002", 2);
    home.write("steps.txt", "click Архив\n"
                            "row 1\n"
                            "click Книга EPUB\n"
                            "click OK\n"
                            "click Отмена\n"
                            "click Выход\n");
    const ProgramRun run = RunDrivenProgram(home.path(), home.file("steps.txt"));
    ASSERT_TRUE(run.finished) << run.errors.toStdString();
    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_EQ(QDir(download).entryList(QDir::Files), QStringList{"2026.02.02.epub"});
    const EpubContents book = ReadEpub(download + "/2026.02.02.epub");
    EXPECT_EQ(book.spine(), (QList<QByteArray>{"index.xhtml", "page1.xhtml", "page2.xhtml"}));
}

namespace {

// One request over loopback, the whole answer until the server closes.
QByteArray fetch(quint16 port, const QByteArray& requestLine) {
    QTcpSocket socket;
    socket.connectToHost("127.0.0.1", port);
    if (!socket.waitForConnected(10'000))
        return {};
    socket.write(requestLine + "\r\nHost: 127.0.0.1\r\n\r\n");
    QByteArray answer;
    while (socket.state() == QAbstractSocket::ConnectedState && socket.waitForReadyRead(10'000))
        answer += socket.readAll();
    return answer + socket.readAll();
}

QByteArray bodyOf(const QByteArray& answer) {
    return answer.mid(answer.indexOf("\r\n\r\n") + 4);
}

struct Server {
    QProcess process;
    quint16 port = 0;

    explicit Server(const QString& home) {
        StartProgram(process, {home, {"--serve", "0"}});
        static const QRegularExpression line("порт (\\d+)");
        QByteArray out;
        while (port == 0 && process.waitForReadyRead(15'000)) {
            out += process.readAllStandardOutput();
            const auto match = line.match(QString::fromUtf8(out));
            if (match.hasMatch())
                port = quint16(match.captured(1).toUInt());
        }
    }
    ~Server() {
        process.terminate();
        if (!process.waitForFinished(5000))
            process.kill();
        process.waitForFinished();
    }
};

} // namespace

TEST(ReaderProgram, TheCatalogueServesItsFeedAndBooksToAFewClientsAtATime) {
    TempProgramFolder home;
    const QString download = home.file("Download");
    MakeIssueFolder(download, "2026.02.01", QDate(2026, 2, 1), "24001", 1, {}, true);
    MakeIssueFolder(download, "2026.02.02", QDate(2026, 2, 2), "24002", 1, {}, true);
    WriteFile(download, "2026.02.02.epub", QByteArray(300'000, 'b'));
    WriteFile(home.path(), "private.txt", "private");
    Server server(home.path());
    ASSERT_NE(server.port, 0) << "the server says its port";

    const QByteArray feed = fetch(server.port, "GET /opds/new HTTP/1.1");
    ASSERT_TRUE(feed.startsWith("HTTP/1.1 200 OK\r\n")) << feed.toStdString();
    QList<QByteArray> books;
    for (const QByteArray& href : AttributeValues(bodyOf(feed), "link", "href")) {
        if (href.startsWith("/epub/"))
            books << href;
    }
    ASSERT_EQ(books.size(), 2);
    EXPECT_EQ(books.value(0), "/epub/2026.02.02.epub") << "the newest first";
    const QByteArray book = fetch(server.port, "GET " + books.value(0) + " HTTP/1.1");
    EXPECT_TRUE(book.startsWith("HTTP/1.1 200 OK\r\n"));
    EXPECT_EQ(bodyOf(book), QByteArray(300'000, 'b')) << "the whole book, piece by piece";
    for (const QByteArray target : {"/epub/../../private.txt", "/epub/%2E%2E%2Fprivate.txt",
                                    "//private.txt", "/cover/%2fetc%2fpasswd"}) {
        const QByteArray refused = fetch(server.port, "GET " + target + " HTTP/1.1");
        EXPECT_TRUE(refused.startsWith("HTTP/1.1 400 ") || refused.startsWith("HTTP/1.1 404 "))
            << target.constData() << ": " << refused.toStdString();
        EXPECT_FALSE(refused.contains("private"));
    }
    EXPECT_TRUE(
        fetch(server.port, "DELETE /epub/2026.02.01.epub HTTP/1.1").startsWith("HTTP/1.1 405 "));
    EXPECT_TRUE(QFile::exists(download + "/2026.02.01.epub"));

    // Clients that never send a request hold every place; the next is turned away.
    std::vector<std::unique_ptr<QTcpSocket>> idle;
    for (int i = 0; i < CatalogueServer::MaxClients; ++i) {
        idle.push_back(std::make_unique<QTcpSocket>());
        idle.back()->connectToHost("127.0.0.1", server.port);
        ASSERT_TRUE(idle.back()->waitForConnected(10'000));
    }
    QThread::msleep(300);
    const QByteArray busy = fetch(server.port, "GET /opds HTTP/1.1");
    EXPECT_TRUE(busy.startsWith("HTTP/1.1 503 ")) << busy.toStdString();
    idle.clear();
    QByteArray again;
    for (int attempt = 0; attempt < 50 && !again.startsWith("HTTP/1.1 200 "); ++attempt) {
        QThread::msleep(100);
        again = fetch(server.port, "GET / HTTP/1.1");
    }
    EXPECT_TRUE(again.startsWith("HTTP/1.1 200 ")) << "places free again once clients leave";
}

namespace {

// curl's exit status for arguments; its output goes where they say.
int curl(const QStringList& arguments) {
    QProcess process;
    process.start("curl", QStringList{"-sS", "--max-time", "60"} + arguments);
    return process.waitForFinished(90'000) ? process.exitCode() : -1;
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What feedparser makes of the feed read twice: "ok" and the entry count,
// or what it found wrong.
QString feedparserVerdict(const QString& url) {
    QProcess python;
    python.setProcessChannelMode(QProcess::MergedChannels);
    // Debian's own interpreter, where its python3-feedparser lives.
    python.start("/usr/bin/python3", {"-c", R"py(import sys
try:
    import feedparser
except ImportError:
    sys.exit("python3-feedparser is not installed (scripts/bootstrap installs it)")
first, second = feedparser.parse(sys.argv[1]), feedparser.parse(sys.argv[1])
problems = []
if first.bozo: problems.append("not well-formed: %s" % first.bozo_exception)
if first.feed.get("updated") != second.feed.get("updated"): problems.append("updated moved")
for e in first.entries:
    if not e.get("content"): problems.append("no content: " + e.id)
    if not any(l.rel == "alternate" and l.type == "text/html" for l in e.links):
        problems.append("no alternate link: " + e.id)
print(" ".join(problems) if problems else "ok %d" % len(first.entries))
)py",
                                      url});
    python.waitForFinished(60'000);
    return QString::fromUtf8(python.readAll()).trimmed();
}

} // namespace

// A reader on a weak link: a book cut in the middle is resumed to the same
// bytes, feedparser accepts the feed as Atom, and the newest paper has one
// address that follows new issues.
TEST(ReaderProgram, TheCatalogueResumesBooksAndFollowsTheNewestIssue) {
    TempProgramFolder home;
    const QString download = home.file("Download");
    MakeIssueFolder(download, "2026.02.01", QDate(2026, 2, 1), "24001", 2, {}, true);
    MakeIssueFolder(download, "2026.02.02", QDate(2026, 2, 2), "24002", 1, {}, true);
    QByteArray book;
    for (int i = 0; i < 400'000; ++i)
        book += char(i * 7 % 251);
    WriteFile(download, "2026.02.02.epub", book);
    Server server(home.path());
    ASSERT_NE(server.port, 0);
    const QString root = QStringLiteral("http://127.0.0.1:%1").arg(server.port);

    const QString cut = home.file("cut.epub");
    WriteFile(home.path(), "cut.epub", book.left(book.size() / 2));
    EXPECT_EQ(curl({"-C", "-", "-o", cut, root + "/epub/2026.02.02.epub"}), 0);
    EXPECT_TRUE(fileBytes(cut) == book) << "resumed to the same bytes";

    EXPECT_EQ(feedparserVerdict(root + "/opds/new"), "ok 2");

    const QString latest = home.file("latest.epub");
    EXPECT_EQ(curl({"-o", latest, root + "/latest/kp.epub"}), 0);
    EXPECT_TRUE(fileBytes(latest) == book);
    MakeIssueFolder(download, "2026.02.03", QDate(2026, 2, 3), "24003", 1, {}, true);
    EXPECT_EQ(curl({"-o", latest, root + "/latest/kp.epub"}), 0);
    EXPECT_EQ(fileBytes(latest), "book") << "the newer issue's book, without a restart";

    // A book that cannot be made (a folder stands where it would go): an
    // honest answer to the reader, a line for whoever runs the server.
    MakeIssueFolder(download, "2026.01.30", QDate(2026, 1, 30), "23999");
    QDir().mkpath(download + "/2026.01.30.epub");
    const QByteArray refused = fetch(server.port, "GET /epub/2026.01.30.epub HTTP/1.1");
    EXPECT_TRUE(refused.startsWith("HTTP/1.1 500 ")) << refused.toStdString();
    server.process.waitForReadyRead(2000);
    EXPECT_TRUE(
        QString::fromLocal8Bit(server.process.readAllStandardError())
            .contains(QStringLiteral("Книга номера %1 не создана").arg(download + "/2026.01.30")));
}

// A reader's search for a word finds the issues whose pages hold any of its
// forms, with links to those pages: the newest issue says «фестивале» on
// page 1 and «фестиваля» on page 2, not on page 3.
TEST(ReaderProgram, TheCatalogueSearchFindsIssuesByTheTextOfTheirPages) {
    TempProgramFolder home;
    DemoSite site;
    ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
    site.installInto(home.path());
    const ProgramRun download = RunProgram(home.path(), "-kp");
    ASSERT_EQ(download.exitCode, 0) << download.errors.constData();
    const QString folder = QFileInfo(OnlyIssueFolder(home.path())).fileName();
    Server server(home.path());
    ASSERT_NE(server.port, 0);

    const QByteArray found = fetch(
        server.port,
        "GET /search?q=" + QUrl::toPercentEncoding(QString::fromUtf8("фестиваль")) + " HTTP/1.1");
    ASSERT_TRUE(found.startsWith("HTTP/1.1 200 ")) << found.toStdString();
    const QByteArray pages = "href=\"/issue/" + QUrl::toPercentEncoding(folder) + "/page";
    EXPECT_EQ(found.count("<entry>"), 1);
    EXPECT_TRUE(found.contains(pages + "1.html\"")) << found.toStdString();
    EXPECT_TRUE(found.contains(pages + "2.html\""));
    EXPECT_FALSE(found.contains(pages + "3.html\""));

    const QByteArray none = fetch(server.port, "GET /search?q=zzzyyyxxx HTTP/1.1");
    EXPECT_EQ(none.count("<entry>"), 0) << none.toStdString();
}
