#include "net/base64.h"
#include "net/request.h"
#include "tests/net/user_agent.h"

#include <gtest/gtest.h>

namespace {

RequestTarget Target(const ByteText& host, const ByteText& path) {
    RequestTarget t;
    t.host = host;
    t.path = path;
    return t;
}

} // namespace

TEST(Request, DirectFormInExactOrder) {
    EXPECT_EQ(BuildRequest(Target("www.vedomir.ru", "/daily/")),
              "GET /daily/ HTTP/1.0\r\n"
              "Accept: */*\r\n"
              "Referer: http://www.vedomir.ru\r\n"
              "Accept-Language: ru\r\n" +
                  UserAgent +
                  "Host: www.vedomir.ru\r\n"
                  "Connection: Close\r\n"
                  "\r\n");
}

TEST(Request, ProxyFormCarriesTheWholeAddressAndProxyConnection) {
    RequestTarget t = Target("www.vedomir.ru", "/daily/");
    t.viaProxy = true;
    EXPECT_EQ(BuildRequest(t), "GET http://www.vedomir.ru/daily/ HTTP/1.0\r\n"
                               "Accept: */*\r\n"
                               "Referer: http://www.vedomir.ru\r\n"
                               "Accept-Language: ru\r\n" +
                                   UserAgent +
                                   "Host: www.vedomir.ru\r\n"
                                   "Proxy-Connection: Close\r\n"
                                   "\r\n");
}

TEST(Request, AuthorisationLineFollowsItsOwnSwitchOnly) {
    RequestTarget t = Target("www.vedomir.ru", "/");
    t.viaProxy = true;
    t.proxyAuthorization = true;
    t.proxyCredentials = EncodeBase64("user:secret");
    EXPECT_TRUE(BuildRequest(t).endsWith(
        "Proxy-Connection: Close\r\nProxy-Authorization: Basic dXNlcjpzZWNyZXQ=\r\n\r\n"));

    // Authorisation on without a proxy still sends the line.
    t.viaProxy = false;
    EXPECT_TRUE(BuildRequest(t).endsWith(
        "Connection: Close\r\nProxy-Authorization: Basic dXNlcjpzZWNyZXQ=\r\n\r\n"));

    // Credentials kept from an earlier switch-on are not sent once it is off.
    t.proxyAuthorization = false;
    EXPECT_FALSE(BuildRequest(t).contains("Proxy-Authorization"));
}

TEST(Request, HostWithPortGoesIntoRefererHostAndProxyAddress) {
    RequestTarget t = Target("127.0.0.1:8080", "/print/1.html");
    ByteText direct = BuildRequest(t);
    EXPECT_TRUE(direct.startsWith("GET /print/1.html HTTP/1.0\r\n"));
    EXPECT_TRUE(direct.contains("\r\nReferer: http://127.0.0.1:8080\r\n"));
    EXPECT_TRUE(direct.contains("\r\nHost: 127.0.0.1:8080\r\n"));
    t.viaProxy = true;
    EXPECT_TRUE(BuildRequest(t).startsWith("GET http://127.0.0.1:8080/print/1.html HTTP/1.0\r\n"));
}

TEST(Request, SecureSiteNamesItsSchemeInTheReferer) {
    RequestTarget t = Target("127.0.0.1:8443", "/daily/");
    t.scheme = "https";
    const ByteText request = BuildRequest(t);
    EXPECT_TRUE(request.startsWith("GET /daily/ HTTP/1.0\r\nAccept: */*\r\n"
                                   "Referer: https://127.0.0.1:8443\r\n"));
    EXPECT_TRUE(request.contains("\r\nHost: 127.0.0.1:8443\r\nConnection: Close\r\n\r\n"));
}

TEST(Request, ConnectNamesTheAuthorityAndCarriesCredentialsOnlyWhenOn) {
    EXPECT_EQ(BuildConnectRequest("www.vedomir.ru:443", false, "dXNlcjpzZWNyZXQ="),
              "CONNECT www.vedomir.ru:443 HTTP/1.0\r\n"
              "Host: www.vedomir.ru:443\r\n" +
                  UserAgent + "\r\n");
    EXPECT_EQ(BuildConnectRequest("www.vedomir.ru:443", true, "dXNlcjpzZWNyZXQ="),
              "CONNECT www.vedomir.ru:443 HTTP/1.0\r\n"
              "Host: www.vedomir.ru:443\r\n" +
                  UserAgent + "Proxy-Authorization: Basic dXNlcjpzZWNyZXQ=\r\n\r\n");
}
