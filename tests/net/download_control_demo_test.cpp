// The download control against the demo site: real server, real proxy, real
// fault switches, real cache files. The fault tests run over plain TCP and
// over TLS alike.
#include "net/download_control.h"
#include "settings/sites.h"
#include "tests/net/user_agent.h"
#include "tests/support/demo_site.h"
#include "tests/support/temp_program_folder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QSslSocket>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const ByteText Style = "/_css/style.css";

// The request as the server must see it, spelled out line by line.
ByteText ExpectedRequest(const ByteText& host, const ByteText& path, bool viaProxy,
                         const ByteText& credentials = {}) {
    ByteText r =
        viaProxy ? "GET http://" + host + path + " HTTP/1.0\r\n" : "GET " + path + " HTTP/1.0\r\n";
    r += "Accept: */*\r\nReferer: http://" + host + "\r\nAccept-Language: ru\r\n" + UserAgent;
    r += "Host: " + host + "\r\n";
    r += viaProxy ? "Proxy-Connection: Close\r\n" : "Connection: Close\r\n";
    if (!credentials.isEmpty())
        r += "Proxy-Authorization: Basic " + credentials + "\r\n";
    return r + "\r\n";
}

// A plain fetch by a bare socket, to compare the control's bytes with; over
// TLS for an "https://" host, trusting the authority of caFile.
ByteText RawFetch(const ByteText& host, const ByteText& path, const QString& caFile = {}) {
    QSslSocket socket;
    socket.connectToHost("127.0.0.1", DemoSite::portOf(host));
    if (!socket.waitForConnected(5000))
        return {};
    if (host.startsWith("https://")) {
        QSslConfiguration trust = socket.sslConfiguration();
        trust.setCaCertificates(QSslCertificate::fromPath(caFile));
        socket.setSslConfiguration(trust);
        socket.startClientEncryption();
        if (!socket.waitForEncrypted(5000))
            return {};
    }
    socket.write("GET " + path + " HTTP/1.0\r\nHost: " + host + "\r\n\r\n");
    ByteText bytes;
    while (socket.state() == QAbstractSocket::ConnectedState && socket.waitForReadyRead(5000))
        bytes += socket.readAll();
    return bytes + socket.readAll();
}

struct Outcome {
    QStringList statuses, mainStatuses;
};

class DemoTest : public ::testing::Test {
protected:
    explicit DemoTest(const QStringList& arguments = {}) : site(arguments) {
        dc.setTrafficCounter(&traffic);
        dc.setCaFile(site.caFile());
        dc.PathCasheFiles(home.file("cashe"));
        dc.RHost(site.newspaper());
        QObject::connect(&dc, &Download_Control::statusChanged,
                         [this](const QString& text, bool) { seen.statuses.append(text); });
        QObject::connect(&dc, &Download_Control::mainStatusChanged,
                         [this](const QString& text) { seen.mainStatuses.append(text); });
    }
    void SetUp() override { ASSERT_TRUE(site.isRunning()) << site.error().toStdString(); }

    void useProxy() { dc.UseProxyServer("127.0.0.1", ByteText::number(site.proxyPort()), true); }
    ByteText rawFetch(const ByteText& path) {
        return RawFetch(site.newspaper(), path, site.caFile());
    }

    TempProgramFolder home;
    DemoSite site;
    Download_Control dc;
    int32_t traffic = 0;
    Outcome seen;
};

class ProxyAuthTest : public DemoTest {
protected:
    ProxyAuthTest() : DemoTest({"--proxy-auth", "reader:s3cret"}) {}
};

// Each fault on its own query, so one server serves them all; the parameter
// is the switch of the transport ("--tls" for TLS, empty for plain TCP).
class FaultTest : public DemoTest, public ::testing::WithParamInterface<const char*> {
protected:
    FaultTest()
        : DemoTest(QStringList{"--fault", "k404=404",           "--fault", "k407=407",
                               "--fault", "k500=500",           "--fault", "k302=302",
                               "--fault", "kclose=close",       "--fault", "ksilent=silent",
                               "--fault", "kreset=reset",       "--fault", "kdribble=dribble",
                               "--fault", "kendless=endless",   "--fault", "ksplit=split-header",
                               "--fault", "khttp11=http11",     "--fault", "kunsized=reset-unsized",
                               "--fault", "kchunked=chunked",   "--fault", "klong=long",
                               "--fault", "kheadless=no-status"} +
                   (*GetParam() ? QStringList{GetParam()} : QStringList{})) {}
};

} // namespace

TEST_F(DemoTest, DirectRequestAsTheServerRecordsIt) {
    dc.Down("/daily/", false);
    const ByteText page = dc.Down("/", false);
    ASSERT_EQ(site.requests().size(), 2);
    EXPECT_EQ(site.requests()[0], ExpectedRequest(site.newspaper(), "/daily/", false));
    EXPECT_EQ(site.requests()[1], ExpectedRequest(site.newspaper(), "/", false));
    EXPECT_TRUE(page.startsWith("HTTP/1.0 200 OK")) << page.left(40).constData();
}

TEST_F(DemoTest, ProxyRequestAsTheServerRecordsIt) {
    useProxy();
    const ByteText path = "/daily/archive/";
    const ByteText page = dc.Down(path, false);
    EXPECT_TRUE(page.startsWith("HTTP/1.0 200 OK")) << page.left(40).constData();
    ASSERT_EQ(site.requests().size(), 1);
    EXPECT_EQ(site.requests()[0], ExpectedRequest(site.newspaper(), path, true));
    EXPECT_TRUE(seen.statuses.contains(
        QStringLiteral("Proxy connect 127.0.0.1:%1...").arg(site.proxyPort())));
    // The proxy serves what the site serves.
    EXPECT_EQ(ExtractBody(page), ExtractBody(RawFetch(site.newspaper(), path)));
}

TEST_F(ProxyAuthTest, ProxyDemandingCredentialsGetsThemOrFails) {
    useProxy();
    EXPECT_EQ(dc.Down("/daily/archive/", false), "error");
    EXPECT_EQ(dc.StatusText(), "Ошибка авторизации на прокси");
    EXPECT_EQ(seen.mainStatuses.last(), "Ошибка авторизации на прокси-сервере");

    dc.ProxyAut("reader", "wrong", true);
    EXPECT_EQ(dc.Down("/daily/archive/", false), "error");

    dc.ProxyAut("reader", "s3cret", true);
    site.clearRequestLog();
    const ByteText page = dc.Down("/daily/archive/", false);
    EXPECT_TRUE(page.startsWith("HTTP/1.0 200 OK")) << page.left(40).constData();
    ASSERT_EQ(site.requests().size(), 1);
    EXPECT_EQ(site.requests()[0], ExpectedRequest(site.newspaper(), "/daily/archive/", true,
                                                  ByteText("reader:s3cret").toBase64()));

    // Switched off, the line is gone again.
    dc.ProxyAut("", "", false);
    EXPECT_EQ(dc.Down("/daily/archive/", false), "error");
}

TEST_F(DemoTest, NotFoundIsAnError) {
    EXPECT_EQ(dc.Down("/no/such/page", true), "error");
    EXPECT_TRUE(dc.StatusText().startsWith("Загрузка данных: "));
    EXPECT_EQ(dc.SizeCashe(), 0);
}

TEST_F(DemoTest, BytesAboveOneTwentySevenComeBackUnchanged) {
    const ByteText archive = dc.Down("/daily/archive/", false);
    const ByteText reference = RawFetch(site.newspaper(), "/daily/archive/");
    ASSERT_FALSE(reference.isEmpty());
    EXPECT_EQ(ExtractBody(archive), ExtractBody(reference));
    EXPECT_TRUE(archive.contains(W("Архив")));

    const ByteText logo = dc.Down("/_img/logo.gif", false);
    EXPECT_EQ(ExtractBody(logo), ExtractBody(RawFetch(site.newspaper(), "/_img/logo.gif")));
    EXPECT_TRUE(ExtractBody(logo).startsWith("GIF8"));
}

TEST_F(DemoTest, TrafficCountsRequestsAndResponses) {
    const ByteText first = dc.Down("/daily/archive/", false);
    const ByteText second = dc.Down("/_img/logo.gif", false);
    const qsizetype expected = dc.RequestFor("/daily/archive/").size() + first.size() +
                               dc.RequestFor("/_img/logo.gif").size() + second.size();
    EXPECT_EQ(traffic, expected);
    EXPECT_EQ(Download_Control::TrafficText(traffic),
              QStringLiteral("Трафик: %1 Кб").arg(expected / 1024));
    // A cache hit adds nothing.
    dc.Down(Style, true);
    const int32_t before = traffic;
    dc.Down(Style, true);
    EXPECT_EQ(traffic, before);
}

TEST_F(DemoTest, CacheRollsOverAndClearsToAFreshIndex) {
    dc.CasheSize(3);
    for (int i = 1; i <= 3; ++i)
        ASSERT_NE(dc.Down(Style + "?n=" + ByteText::number(i), true), "error");
    EXPECT_EQ(dc.SizeCashe(), 3);
    site.clearRequestLog();
    dc.Down(Style + "?n=2", true);
    EXPECT_TRUE(site.requests().isEmpty()); // served from the cache
    EXPECT_EQ(dc.StatusText(), "Файл взят из кэша");

    dc.Down(Style + "?n=4", true);
    EXPECT_EQ(dc.SizeCashe(), 1);
    dc.Down(Style + "?n=2", true);
    EXPECT_EQ(site.requests().size(), 2); // the old entries are gone

    dc.ClearCashe();
    EXPECT_EQ(dc.SizeCashe(), 0);
    const QStringList files = QDir(home.file("cashe")).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(files, QStringList{"!Cashe.dat"});
    const ByteText index = home.read("cashe/!Cashe.dat");
    const QList<ByteText> lines = index.split('\n');
    ASSERT_EQ(lines.size(), 8) << index.constData();
    EXPECT_EQ(lines[0], ";Norvel2 cashe database file\r");
    EXPECT_TRUE(lines[1].startsWith(";Created: "));
    EXPECT_EQ(index.mid(index.indexOf(";Do not edit!")),
              ";Do not edit!\r\n\r\n\r\n[Main]\r\n[Cashe]\r\n");
}

TEST_F(DemoTest, SameHostAndPathOnlyShareAnEntry) {
    const ByteText newspaper = dc.Down("/", true);
    dc.RHost(site.update());
    const ByteText update = dc.Down("/", true);
    EXPECT_NE(ExtractBody(newspaper), ExtractBody(update));
    EXPECT_EQ(dc.SizeCashe(), 2);
    EXPECT_EQ(dc.Down("/", true), update);
    dc.RHost(site.newspaper());
    EXPECT_EQ(dc.Down("/", true), newspaper);
}

TEST_F(DemoTest, AddressLongerThanTheProfileLimitIsFetchedEveryTime) {
    const ByteText longPath = Style + "?" + ByteText(260, 'q');
    const ByteText first = dc.Down(longPath, true);
    ASSERT_TRUE(first.startsWith("HTTP/1.0 200 OK"));
    EXPECT_EQ(dc.Down(longPath, true), first);
    EXPECT_EQ(site.requests().size(), 2);
    EXPECT_EQ(dc.SizeCashe(), 2);
}

TEST_F(DemoTest, UserStopInTheMiddleOfATransferReturnsStop) {
    DemoSite slow({"--fault", "style=dribble"});
    ASSERT_TRUE(slow.isRunning());
    dc.RHost(slow.newspaper());
    bool sawData = false;
    QObject::connect(&dc, &Download_Control::statusChanged, [&](const QString& text, bool) {
        if (text.startsWith("Загрузка данных: ") && !sawData) {
            sawData = true;
            QTimer::singleShot(50, &dc, [this] { dc.Stopped(); });
        }
    });
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(dc.Down(Style, true), "stop");
    EXPECT_TRUE(sawData);
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(dc.StatusText(), "Загрузка прервана");
    EXPECT_EQ(dc.SizeCashe(), 0);
}

INSTANTIATE_TEST_SUITE_P(OverTcpAndTls, FaultTest, ::testing::Values("", "--tls"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(*info.param ? "Tls" : "Tcp");
                         });

TEST_P(FaultTest, EveryFaultEndsInTheRightResultWithoutAHang) {
    dc.setSilenceLimit(1000);
    dc.setResponseLimit(2 * 1024 * 1024);
    auto fetch = [this](const char* kind) { return dc.Down(Style + "?" + kind, true); };
    QElapsedTimer clock;
    clock.start();

    EXPECT_EQ(fetch("k404"), "error");
    EXPECT_EQ(fetch("k407"), "error");
    EXPECT_EQ(dc.StatusText(), "Ошибка авторизации на прокси");
    EXPECT_TRUE(fetch("k500").startsWith("HTTP/1.0 500 Internal Server Error"));
    const ByteText redirect = fetch("k302");
    EXPECT_TRUE(redirect.startsWith("HTTP/1.0 302 Found"));
    EXPECT_TRUE(redirect.contains("\r\nLocation: " + SiteAddress(site.newspaper()) + "/moved"));
    EXPECT_EQ(dc.SizeCashe(), 0); // neither a 500 nor a redirect is kept

    EXPECT_EQ(fetch("kclose"), "error");
    EXPECT_EQ(dc.StatusText(), "Сервер закрыл соединение, не передав данных");
    EXPECT_EQ(fetch("ksilent"), "error");
    EXPECT_EQ(dc.StatusText(), "Сервер не отвечает 1 с, загрузка прекращена");
    EXPECT_EQ(fetch("kreset"), "error");
    EXPECT_TRUE(dc.StatusText().startsWith("Ответ сервера получен не полностью"));
    EXPECT_EQ(fetch("kendless"), "error");
    EXPECT_EQ(dc.StatusText(), "Ответ сервера больше 2 Мб, загрузка прекращена");
    EXPECT_EQ(dc.SizeCashe(), 0);

    const ByteText plain = rawFetch(Style);
    ASSERT_TRUE(plain.startsWith("HTTP/1.0 200 OK"));
    EXPECT_EQ(ExtractBody(fetch("kdribble")), ExtractBody(plain));
    EXPECT_EQ(ExtractBody(fetch("ksplit")), ExtractBody(plain));
    const ByteText http11 = fetch("khttp11");
    EXPECT_TRUE(http11.startsWith("HTTP/1.1 200 OK"));
    EXPECT_EQ(dc.SizeCashe(), 3); // dribble, split-header and HTTP/1.1 are kept
    site.clearRequestLog();
    EXPECT_EQ(fetch("khttp11"), http11);
    EXPECT_TRUE(site.requests().isEmpty());

    EXPECT_LT(clock.elapsed(), 20000);
}

TEST_P(FaultTest, EndlessBodyStopsAtTheDefaultMemoryLimit) {
    EXPECT_EQ(MaxResponseBytes, qsizetype(64) * 1024 * 1024);
    EXPECT_EQ(dc.Down(Style + "?kendless", false), "error");
    EXPECT_EQ(dc.StatusText(), "Ответ сервера больше 64 Мб, загрузка прекращена");
}

TEST_P(FaultTest, DamagedAnswersAreRepairedOrFailedNeverCachedAsTheyCame) {
    const ByteText path = "/daily/archive/";
    const ByteText plain = rawFetch(path);
    ASSERT_TRUE(plain.startsWith("HTTP/1.0 200 OK")) << plain.left(40).constData();
    auto fetch = [this, &path](const char* kind) { return dc.Down(path + "?" + kind, true); };

    // A reset half-way through a body without a length is no end of it.
    EXPECT_EQ(fetch("kunsized"), "error");
    EXPECT_TRUE(dc.StatusText().startsWith("Ответ сервера получен не полностью"))
        << dc.StatusText().toStdString();
    EXPECT_EQ(seen.mainStatuses.last(), "Ошибка загрузки: соединение оборвалось");
    EXPECT_EQ(fetch("kheadless"), "error");
    EXPECT_TRUE(dc.StatusText().startsWith("Ответ сервера без строки состояния HTTP"));
    EXPECT_EQ(dc.SizeCashe(), 0);

    // Chunks come decoded, bytes past the length are dropped; both are kept
    // and served from the cache as they were returned.
    const ByteText chunked = fetch("kchunked");
    EXPECT_TRUE(chunked.startsWith("HTTP/1.1 200 OK\r\n")) << chunked.left(40).constData();
    EXPECT_EQ(ExtractBody(chunked), ExtractBody(plain));
    EXPECT_FALSE(chunked.contains("Transfer-Encoding"));
    EXPECT_EQ(fetch("klong"), plain);
    EXPECT_EQ(dc.SizeCashe(), 2);
    site.clearRequestLog();
    EXPECT_EQ(fetch("kchunked"), chunked);
    EXPECT_EQ(fetch("klong"), plain);
    EXPECT_TRUE(site.requests().isEmpty());
}
