// Secure sites: the real program, started unattended, fetches whole issues
// from the demo site served over TLS, directly and through the authorising
// proxy's tunnel, and they are the issues it fetches over plain HTTP; a site
// whose certificate must be refused gets no request and leaves no file; an
// https and an http answer for one path never share a cache entry.
#include "settings/sites.h"
#include "settings/utf8_text.h"
#include "tests/e2e/e2e_fixture.h"
#include "tests/support/demo_site.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QMap>
#include <QTcpServer>
#include <gtest/gtest.h>

namespace {

// The site's addresses in the bytes put in words, so issues fetched from
// two runs of the site (other ports, other scheme) compare byte for byte.
ByteText WithoutAddresses(ByteText bytes, const DemoSite& site) {
    const QList<QPair<ByteText, ByteText>> hosts = {{site.newspaper(), "NEWSPAPER"},
                                                    {site.magazineArchive(), "ARCHIVE"},
                                                    {site.magazineMain(), "MAIN"},
                                                    {site.update(), "UPDATE"}};
    for (const auto& [entry, word] : hosts) {
        bytes.replace(SiteAddress(entry), "SITE-" + word);
        bytes.replace(ParseHostEntry(entry).host, "HOST-" + word);
    }
    return bytes;
}

// Every file of the one issue folder under home, by its path in the folder.
QMap<QString, ByteText> IssueFiles(const QString& home, const DemoSite& site) {
    QMap<QString, ByteText> files;
    const QString issue = OnlyIssueFolder(home);
    QDirIterator it(issue, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (file.open(QIODevice::ReadOnly))
            files.insert(QDir(issue).relativeFilePath(file.fileName()),
                         WithoutAddresses(file.readAll(), site));
    }
    return files;
}

// The issue the real program fetched unattended into a fresh program folder.
QMap<QString, ByteText> FetchedIssue(const DemoSite& site, const QString& switchText,
                                     bool throughProxy) {
    TempProgramFolder home;
    site.installInto(home.path());
    if (throughProxy)
        WriteOptions(home.path(), [&site](Settings& s) { UseDemoProxy(s, site.proxyPort()); });
    const ProgramRun run = RunProgram(home.path(), switchText);
    EXPECT_TRUE(run.finished) << run.errors.constData();
    EXPECT_EQ(run.exitCode, 0) << run.errors.constData();
    return IssueFiles(home.path(), site);
}

void ExpectSameIssueOverHttps(const QString& switchText) {
    DemoSite plain;
    DemoSite secure({"--tls", "--proxy-auth", "reader:secret"});
    ASSERT_TRUE(plain.isRunning()) << plain.error().toStdString();
    ASSERT_TRUE(secure.isRunning()) << secure.error().toStdString();
    const QMap<QString, ByteText> reference = FetchedIssue(plain, switchText, false);
    ASSERT_GT(reference.size(), 20);
    ASSERT_TRUE(reference.contains("index.htm"));

    EXPECT_EQ(FetchedIssue(secure, switchText, false), reference);
    for (const ByteText& line : secure.requestLines())
        EXPECT_TRUE(line.startsWith("GET /")) << line.constData();

    secure.clearRequestLog();
    EXPECT_EQ(FetchedIssue(secure, switchText, true), reference);
    int tunnels = 0;
    for (const ByteText& head : secure.requests()) {
        EXPECT_FALSE(head.startsWith("GET http")) << "no request but in a tunnel";
        if (head.startsWith("CONNECT 127.0.0.1:")) {
            ++tunnels;
            EXPECT_TRUE(head.contains("\r\nProxy-Authorization: Basic " +
                                      ByteText("reader:secret").toBase64() + "\r\n"));
        } else {
            EXPECT_FALSE(head.contains("Proxy-Authorization")) << head.constData();
        }
    }
    EXPECT_EQ(tunnels * 2, secure.requests().size()) << "one tunnel per request";
}

// Five loopback ports from a base a plain and then a TLS demo site can take
// in turn; 0 when none could be found.
quint16 FreePortBase() {
    for (int attempt = 0; attempt < 20; ++attempt) {
        const auto base =
            quint16(20000 + (QCoreApplication::applicationPid() * 131 + attempt * 977) % 40000);
        bool free = true;
        for (int i = 0; i < 5 && free; ++i) {
            QTcpServer probe;
            free = probe.listen(QHostAddress::LocalHost, quint16(base + i));
        }
        if (free)
            return base;
    }
    return 0;
}

int RequestsOf(const DemoSite& site, const ByteText& prefix) {
    int count = 0;
    for (const ByteText& line : site.requestLines())
        count += line.startsWith("GET " + prefix) ? 1 : 0;
    return count;
}

} // namespace

TEST(SecureProgram, NewspaperOverHttpsDirectAndThroughTheProxyIsTheIssueOverHttp) {
    ExpectSameIssueOverHttps("-kp");
}

TEST(SecureProgram, MagazineOverHttpsDirectAndThroughTheProxyIsTheIssueOverHttp) {
    ExpectSameIssueOverHttps("-kt");
}

TEST(SecureProgram, RefusedCertificateGetsNoRequestAndLeavesNoFile) {
    TempProgramFolder home;
    DemoSite site({"--tls-certificate", "unknown-ca"});
    ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
    site.installInto(home.path());
    // An unattended run that cannot load the main page asks whether to go
    // on by number; with nobody to answer it is ended here.
    const ProgramRun run = RunProgram(home.path(), "-kp", {}, 8000);
    if (run.finished) {
        EXPECT_NE(run.exitCode, 0);
        EXPECT_TRUE(QString::fromUtf8(run.errors).contains(U("главную страницу")))
            << run.errors.constData();
    }
    EXPECT_TRUE(site.requests().isEmpty()) << site.requestLog().constData();
    EXPECT_TRUE(QDir(home.file("Download")).isEmpty());
    EXPECT_TRUE(QDir(home.file("cashe")).entryList({"*.tmp"}, QDir::Files).isEmpty());
}

TEST(SecureProgram, HttpsAndHttpAnswersForOnePathStayApartInTheCache) {
    const quint16 base = FreePortBase();
    ASSERT_NE(base, 0);
    TempProgramFolder home;
    WriteOptions(home.path(), [](Settings& s) { s.ClearCasheDown = false; });
    const QStringList ports{"--port", QString::number(base)};
    {
        DemoSite plain(ports);
        ASSERT_TRUE(plain.isRunning()) << plain.error().toStdString();
        plain.installInto(home.path());
        ASSERT_EQ(RunProgram(home.path(), "-kp").exitCode, 0);
    }
    DemoSite secure(ports + QStringList{"--tls"});
    ASSERT_TRUE(secure.isRunning()) << secure.error().toStdString();
    ASSERT_EQ(ParseHostEntry(secure.newspaper()).host, "127.0.0.1:" + QByteArray::number(base));
    secure.installInto(home.path());
    ASSERT_TRUE(QDir(home.file("Download")).removeRecursively());

    // The same host, port and paths over https: nothing is taken from the
    // entries the http run kept.
    ASSERT_EQ(RunProgram(home.path(), "-kp").exitCode, 0);
    const int printPages = RequestsOf(secure, "/daily/");
    EXPECT_GT(printPages, 20);
    const ByteText index = home.read("cashe/!Cashe.dat");
    const ByteText host = "127.0.0.1:" + QByteArray::number(base);
    EXPECT_GT(index.count("=http://" + host + "/daily/"), 20);
    EXPECT_EQ(index.count("=https://" + host + "/daily/"),
              index.count("=http://" + host + "/daily/"));

    // Again over https: now its own entries serve it.
    ASSERT_TRUE(QDir(home.file("Download")).removeRecursively());
    secure.clearRequestLog();
    ASSERT_EQ(RunProgram(home.path(), "-kp").exitCode, 0);
    EXPECT_LT(RequestsOf(secure, "/daily/"), printPages);
    EXPECT_EQ(RequestsOf(secure, "/upimg/"), 0);
    EXPECT_FALSE(OnlyIssueFolder(home.path()).isEmpty());
}

// The three certificates a client must refuse, through the real workflow and
// windows: the fetch ends in "error" with the Russian reason as a link, the
// download goes back to idle, and no file is written.
TEST(SecureDownload, RefusedCertificatesEndInErrorAndSaveNothing) {
    const QList<QPair<QString, QString>> kinds = {
        {"other-name", U("сертификат выдан не для сервера 127.0.0.1")},
        {"expired", U("срок действия сертификата истёк (")},
        {"unknown-ca", U("сертификат выдан неизвестным центром сертификации")}};
    for (const auto& [kind, reason] : kinds) {
        E2ERun run({"--tls-certificate", kind});
        ASSERT_TRUE(run.ready()) << run.site.error().toStdString();
        run.messenger.answer(MessageAnswer::No); // try an issue by its number?
        run.Download(NewspaperSource);
        const QString status = U("Ошибка безопасного соединения: ") + reason;
        EXPECT_TRUE(run.DC.StatusText().startsWith(status)) << run.DC.StatusText().toStdString();
        EXPECT_TRUE(run.DC.StatusIsLink());
        EXPECT_TRUE(run.statuses.contains(U("Ошибка безопасного соединения")));
        EXPECT_TRUE(run.idle());
        EXPECT_TRUE(run.site.requests().isEmpty());
        EXPECT_TRUE(QDir(run.home.file("Download")).isEmpty()) << kind.toStdString();
    }
}
