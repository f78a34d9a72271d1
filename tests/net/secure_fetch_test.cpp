// The download control against the demo site served over TLS: the request
// inside TLS and inside the proxy's tunnel, the proxy's refusal, and the
// certificates it must refuse.
#include "net/download_control.h"
#include "settings/sites.h"
#include "settings/utf8_text.h"
#include "tests/net/user_agent.h"
#include "tests/support/demo_site.h"
#include "tests/support/temp_program_folder.h"

#include <gtest/gtest.h>

namespace {

// name:port of an "https://name:port" host.
ByteText Authority(const ByteText& host) {
    return ParseHostEntry(host).host;
}

class SecureSite : public ::testing::Test {
protected:
    explicit SecureSite(const QStringList& certificate = {})
        : site(QStringList{"--tls", "--proxy-auth", "reader:s3cret"} + certificate) {
        dc.setCaFile(site.caFile());
        dc.PathCasheFiles(home.file("cashe"));
        dc.RHost(site.newspaper());
        QObject::connect(&dc, &Download_Control::mainStatusChanged,
                         [this](const QString& text) { mainStatuses.append(text); });
    }
    void SetUp() override {
        ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
        ASSERT_TRUE(site.newspaper().startsWith("https://127.0.0.1:"));
    }
    void useProxy(const ByteText& password) {
        dc.UseProxyServer("127.0.0.1", ByteText::number(site.proxyPort()), true);
        dc.ProxyAut("reader", password, true);
    }

    TempProgramFolder home;
    DemoSite site;
    Download_Control dc;
    QStringList mainStatuses;
};

// The direct request of a TLS site as the server must see it.
ByteText ExpectedRequest(const ByteText& authority, const ByteText& path) {
    return "GET " + path + " HTTP/1.0\r\nAccept: */*\r\nReferer: https://" + authority +
           "\r\nAccept-Language: ru\r\n" + UserAgent + "Host: " + authority +
           "\r\nConnection: Close\r\n\r\n";
}

} // namespace

TEST_F(SecureSite, RequestGoesOverTlsWithTheSchemeInTheReferer) {
    const ByteText page = dc.Down("/daily/archive/", true);
    ASSERT_TRUE(page.startsWith("HTTP/1.0 200 OK")) << dc.StatusText().toStdString();
    EXPECT_TRUE(page.contains(W("Архив")));
    ASSERT_EQ(site.requests().size(), 1);
    EXPECT_EQ(site.requests()[0], ExpectedRequest(Authority(site.newspaper()), "/daily/archive/"));
    // Kept, and served from the cache again.
    EXPECT_EQ(dc.SizeCashe(), 1);
    EXPECT_EQ(dc.Down("/daily/archive/", true), page);
    EXPECT_EQ(site.requests().size(), 1);
}

TEST_F(SecureSite, ThroughTheProxyATunnelCarriesTheDirectRequest) {
    useProxy("s3cret");
    const ByteText page = dc.Down("/_img/logo.gif", false);
    ASSERT_TRUE(page.startsWith("HTTP/1.0 200 OK")) << dc.StatusText().toStdString();
    const ByteText authority = Authority(site.newspaper());
    ASSERT_EQ(site.requests().size(), 2);
    EXPECT_EQ(site.requests()[0], "CONNECT " + authority + " HTTP/1.0\r\nHost: " + authority +
                                      "\r\n" + UserAgent + "Proxy-Authorization: Basic " +
                                      ByteText("reader:s3cret").toBase64() + "\r\n\r\n");
    // The proxy's credentials stay with the proxy.
    EXPECT_EQ(site.requests()[1], ExpectedRequest(authority, "/_img/logo.gif"));

    Download_Control direct;
    direct.setCaFile(site.caFile());
    direct.RHost(site.newspaper());
    EXPECT_EQ(direct.Down("/_img/logo.gif", false), page);
}

TEST_F(SecureSite, ProxyRefusingTheTunnelIsAFailedAuthorisation) {
    useProxy("wrong");
    EXPECT_EQ(dc.Down("/daily/archive/", true), "error");
    EXPECT_EQ(dc.StatusText(), U("Ошибка авторизации на прокси"));
    EXPECT_EQ(mainStatuses.last(), U("Ошибка авторизации на прокси-сервере"));
    ASSERT_EQ(site.requestLines(),
              QList<ByteText>{"CONNECT " + Authority(site.newspaper()) + " HTTP/1.0"});
    EXPECT_EQ(dc.SizeCashe(), 0);
}

TEST_F(SecureSite, OnlyTheNamedAuthoritiesAreTrusted) {
    dc.setCaFile({});
    EXPECT_EQ(dc.Down("/", false), "error");
    EXPECT_EQ(dc.StatusText(), U("Ошибка безопасного соединения: сертификат выдан неизвестным "
                                 "центром сертификации"));

    dc.setCaFile(home.file("missing.pem"));
    EXPECT_EQ(dc.Down("/", false), "error");
    EXPECT_EQ(dc.StatusText(), U("Ошибка безопасного соединения: не удалось прочитать "
                                 "сертификаты центров сертификации из файла ") +
                                   home.file("missing.pem"));
    EXPECT_TRUE(site.requests().isEmpty());

    // The system's authorities stay trusted beside the named one.
    dc.setCaFile(site.caFile());
    EXPECT_TRUE(dc.Down("/", false).startsWith("HTTP/1.0 200 OK"));
}

struct RefusedCertificate {
    const char* kind;
    const char* reason; // after "Ошибка безопасного соединения: "
};

void PrintTo(const RefusedCertificate& certificate, std::ostream* out) {
    *out << certificate.kind;
}

class RefusedCertificateTest : public SecureSite,
                               public ::testing::WithParamInterface<RefusedCertificate> {
protected:
    RefusedCertificateTest() : SecureSite({"--tls-certificate", GetParam().kind}) {}
};

TEST_P(RefusedCertificateTest, EndsInErrorWithTheReasonAsALinkAndNothingSent) {
    const QString status = U("Ошибка безопасного соединения: ") + U(GetParam().reason);
    EXPECT_EQ(dc.Down("/daily/archive/", true), "error");
    EXPECT_TRUE(dc.StatusText().startsWith(status)) << dc.StatusText().toStdString();
    EXPECT_TRUE(dc.StatusIsLink());
    EXPECT_EQ(mainStatuses.last(), U("Ошибка безопасного соединения"));

    // Through the tunnel the certificate is checked the same way.
    useProxy("s3cret");
    EXPECT_EQ(dc.Down("/daily/archive/", true), "error");
    EXPECT_TRUE(dc.StatusText().startsWith(status)) << dc.StatusText().toStdString();
    EXPECT_EQ(site.requestLines(),
              QList<ByteText>{"CONNECT " + Authority(site.newspaper()) + " HTTP/1.0"})
        << "no request goes to a site that failed the check";
    EXPECT_EQ(dc.SizeCashe(), 0);

    // The link opens the socket-error window.
    QString opened;
    dc.setErrorWindowOpener([&opened](const QString& path) { opened = path; });
    dc.StatusClicked();
    EXPECT_EQ(opened, home.file("data/wserror.dat"));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, RefusedCertificateTest,
    ::testing::Values(RefusedCertificate{"other-name", "сертификат выдан не для сервера 127.0.0.1"},
                      RefusedCertificate{"expired", "срок действия сертификата истёк ("},
                      RefusedCertificate{"unknown-ca",
                                         "сертификат выдан неизвестным центром сертификации"}),
    [](const ::testing::TestParamInfo<RefusedCertificate>& info) {
        ByteText name = info.param.kind;
        return name.replace('-', '_').toStdString();
    });
