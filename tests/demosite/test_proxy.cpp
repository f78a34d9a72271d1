// The demo site through its proxy port and in the request log, with curl as
// an independent client.
#include "tests/demosite/fetch.h"
#include "tests/support/demo_site.h"
#include "tests/support/temp_program_folder.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString url(const ByteText& host, const char* path) {
    return "http://" + QString::fromLatin1(host) + path;
}

QString proxyOf(const DemoSite& site) {
    return QString::fromLatin1(site.proxy());
}

TEST(DemoSiteProxy, CurlGetsTheSamePagesDirectAndThroughTheProxy) {
    DemoSite site;
    ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
    for (const auto& [host, path] :
         {std::pair{site.newspaper(), "/daily/archive/"}, std::pair{site.magazineArchive(), "/"},
          std::pair{site.update(), "/version.info"}}) {
        const CurlResult direct = curl({"-i", url(host, path)});
        const CurlResult proxied = curl({"-i", "-x", proxyOf(site), url(host, path)});
        ASSERT_EQ(direct.exitCode, 0);
        ASSERT_EQ(proxied.exitCode, 0);
        EXPECT_TRUE(direct.output.startsWith("HTTP/1.0 200 OK\r\n"));
        EXPECT_EQ(direct.output, proxied.output) << path;
    }
    // Absolute URIs reach the proxy; plain paths reach the hosts.
    const QList<ByteText> lines = site.requestLines();
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[0], "GET /daily/archive/ HTTP/1.1");
    EXPECT_EQ(lines[1], "GET http://" + site.newspaper() + "/daily/archive/ HTTP/1.1");
}

TEST(DemoSiteProxy, DemandsCredentialsWithA407Challenge) {
    DemoSite site({"--proxy-auth", "reader:secret"});
    ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
    const QString target = url(site.newspaper(), "/");

    const CurlResult refused = curl({"-i", "-x", proxyOf(site), target});
    EXPECT_TRUE(refused.output.startsWith("HTTP/1.0 407 Unauthorized\r\n"));
    EXPECT_TRUE(refused.output.contains("\r\nProxy-Authenticate: Basic realm="));
    // The program's own test: "407 Unauthorized" from the tenth character.
    EXPECT_EQ(refused.output.mid(9, 16), "407 Unauthorized");

    const CurlResult wrong =
        curl({"-i", "-x", proxyOf(site), "--proxy-user", "reader:guess", target});
    EXPECT_TRUE(wrong.output.startsWith("HTTP/1.0 407 Unauthorized\r\n"));

    const CurlResult accepted =
        curl({"-i", "-x", proxyOf(site), "--proxy-user", "reader:secret", target});
    EXPECT_TRUE(accepted.output.startsWith("HTTP/1.0 200 OK\r\n"));
    EXPECT_TRUE(accepted.output.contains(W("Ведомир")));

    // The program's request form, credentials included.
    const RawResult program = rawExchange(
        site.proxy(), programRequest(site.newspaper(), "/daily/archive/", true, "reader:secret"));
    EXPECT_TRUE(program.bytes.startsWith("HTTP/1.0 200 OK\r\n"));
    EXPECT_TRUE(program.closedByServer);
    // The hosts themselves never ask for credentials.
    EXPECT_TRUE(getBody(site.newspaper(), "/").contains(W("Ведомир")));
}

TEST(DemoSiteProxy, ProxyServesThePublicHostNamesAndRefusesUnknownOnes) {
    DemoSite site;
    ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
    const RawResult page =
        rawExchange(site.proxy(), programRequest("www.vedomir.ru", "/daily/archive/", true));
    EXPECT_TRUE(page.bytes.startsWith("HTTP/1.0 200 OK\r\n"));
    const RawResult print = rawExchange(site.proxy(), programRequest("www.vedomir.ru", "/", true));
    EXPECT_TRUE(
        print.bytes.contains("<a href=\"http://www.vedomir.ru\"><img src=\"/_img/logo.gif\""));
    const RawResult unknown = rawExchange(site.proxy(), programRequest("example.org", "/", true));
    EXPECT_TRUE(unknown.bytes.startsWith("HTTP/1.0 502 "));
    // A plain path is no proxy request.
    const RawResult plain = rawExchange(site.proxy(), programRequest(site.newspaper(), "/"));
    EXPECT_TRUE(plain.bytes.startsWith("HTTP/1.0 400 "));
}

TEST(DemoSiteLog, RecordsEveryRequestHeadByteForByteInOrder) {
    DemoSite site;
    ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
    const QList<ByteText> sent = {
        programRequest(site.newspaper(), "/"),
        programRequest(site.magazineArchive(), "/2006/1/"),
        programRequest(site.newspaper(), "/daily/archive/", true, "u:p"),
        // A lax client ending lines with LF alone, and bytes above 127.
        ByteText("GET /version.info HTTP/1.0\nX-Note: \xE4\xE0\n\n"),
    };
    rawExchange(site.newspaper(), sent[0]);
    rawExchange(site.magazineArchive(), sent[1]);
    rawExchange(site.proxy(), sent[2]);
    const RawResult lax = rawExchange(site.update(), sent[3]);
    EXPECT_TRUE(lax.bytes.startsWith("HTTP/1.0 200 OK\r\n"));
    EXPECT_EQ(site.requests(), sent);
    EXPECT_EQ(site.requestLog(), sent[0] + sent[1] + sent[2] + sent[3]);
    site.clearRequestLog();
    rawExchange(site.update(), sent[3]);
    EXPECT_EQ(site.requests(), QList<ByteText>{sent[3]});
}

TEST(DemoSiteLaunch, ABadSwitchIsReportedNotHung) {
    DemoSite site({"--fault", "/x=teapot"});
    EXPECT_FALSE(site.isRunning());
    EXPECT_TRUE(site.error().contains("teapot")) << site.error().toStdString();
}

TEST(DemoSiteLaunch, ServerGoesWhenItsParentClosesStandardInput) {
    QTemporaryDir folder;
    QProcess server;
    server.start(TempProgramFolder::binDir() + "/norvel-demosite",
                 {"--write-sites", folder.filePath("sites.ini"), "--exit-with-stdin"});
    ASSERT_TRUE(server.waitForStarted(5000));
    ASSERT_TRUE(server.waitForReadyRead(10000)) << "the profile is printed once it listens";
    EXPECT_TRUE(server.readAllStandardOutput().startsWith("[Sites]\r\nNewspaper=127.0.0.1:"));
    server.closeWriteChannel();
    EXPECT_TRUE(server.waitForFinished(5000));
    EXPECT_EQ(server.exitStatus(), QProcess::NormalExit);
}

TEST(DemoSiteLaunch, InstallsItsSitesFileIntoAProgramFolder) {
    DemoSite site;
    ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
    QTemporaryDir folder;
    ASSERT_TRUE(site.installInto(folder.path()));
    QFile copy(folder.filePath("sites.ini"));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), site.sitesProfile());
}

} // namespace
