// Proxy authorisation through the demo site's proxy: a refusal worded the
// way common proxies word it, and credentials outside ASCII that the proxy
// keeps in UTF-8, accepted on the second try.
#include "net/download_control.h"
#include "tests/support/demo_site.h"
#include "tests/support/temp_program_folder.h"

#include <gtest/gtest.h>

namespace {

// The Basic token each request to the proxy carried, in order.
QList<ByteText> TokensSent(const DemoSite& site) {
    QList<ByteText> tokens;
    for (const ByteText& head : site.requests()) {
        const qsizetype at = head.indexOf("Proxy-Authorization: Basic ");
        tokens.append(at < 0 ? ByteText() : head.mid(at + 27, head.indexOf("\r\n", at) - at - 27));
    }
    return tokens;
}

class ProxyLogin : public ::testing::Test {
protected:
    explicit ProxyLogin(const QStringList& arguments) : site(arguments) {
        dc.PathCasheFiles(home.file("cashe"));
        dc.RHost(site.newspaper());
        dc.UseProxyServer("127.0.0.1", ByteText::number(site.proxyPort()), true);
    }
    TempProgramFolder home;
    DemoSite site;
    Download_Control dc;
};

class RussianLogin : public ProxyLogin {
protected:
    RussianLogin() : ProxyLogin({"--proxy-auth", "читатель:пароль", "--proxy-auth-required"}) {}
    const ByteText cp1251Token = W("читатель:пароль").toBase64();
    const ByteText utf8Token = ByteText("читатель:пароль").toBase64();
};

class PlainLogin : public ProxyLogin {
protected:
    PlainLogin() : ProxyLogin({"--proxy-auth", "reader:secret", "--proxy-auth-required"}) {}
};

} // namespace

TEST(ProxyCredentialsForms, OnlyLettersOutsideAsciiGetASecondForm) {
    EXPECT_FALSE(ProxyCredentials("reader", "secret").HasUtf8Form());
    EXPECT_EQ(ProxyCredentials("reader", "secret").Token(), ByteText("reader:secret").toBase64());
    const ProxyCredentials russian(W("читатель"), "secret");
    EXPECT_EQ(russian.Token(), W("читатель:secret").toBase64());
    EXPECT_EQ(russian.Utf8Token(), ByteText("читатель:secret").toBase64());
}

TEST_F(RussianLogin, UtfEightCredentialsAreAcceptedOnTheSecondTryAndKeptFirst) {
    dc.ProxyAut(W("читатель"), W("пароль"), true);
    const ByteText page = dc.Down("/daily/archive/", false);
    EXPECT_TRUE(page.startsWith("HTTP/1.0 200 OK")) << page.left(60).constData();
    EXPECT_FALSE(dc.ProxyRefused());
    EXPECT_EQ(TokensSent(site), QList<ByteText>({cp1251Token, utf8Token}));

    // The form the proxy took goes first from now on: one request a fetch.
    site.clearRequestLog();
    EXPECT_TRUE(dc.Down("/", false).startsWith("HTTP/1.0 200 OK"));
    EXPECT_EQ(TokensSent(site), QList<ByteText>({utf8Token}));
}

TEST_F(RussianLogin, BothFormsRefusedIsOneFailureAndTheFirstFormLeadsAgain) {
    dc.ProxyAut(W("читатель"), W("не тот"), true);
    EXPECT_EQ(dc.Down("/", false), "error");
    EXPECT_TRUE(dc.ProxyRefused());
    EXPECT_EQ(dc.StatusText(), "Ошибка авторизации на прокси");
    ASSERT_EQ(site.requests().size(), 2);
    site.clearRequestLog();
    dc.Down("/", false);
    EXPECT_EQ(TokensSent(site).first(), W("читатель:не тот").toBase64());
}

TEST_F(PlainLogin, RefusalWordedAsAuthenticationRequiredFailsWithoutARetry) {
    dc.ProxyAut("reader", "wrong", true);
    EXPECT_EQ(dc.Down("/", false), "error");
    EXPECT_TRUE(dc.ProxyRefused());
    EXPECT_EQ(dc.StatusText(), "Ошибка авторизации на прокси");
    EXPECT_EQ(site.requests().size(), 1) << "ASCII credentials have no second form";
    EXPECT_TRUE(site.requestLog().contains("GET http://" + site.newspaper() + "/ HTTP/1.0"));

    // Set right, the next fetch goes through and the refusal is forgotten.
    dc.ProxyAut("reader", "secret", true);
    EXPECT_TRUE(dc.Down("/", false).startsWith("HTTP/1.0 200 OK"));
    EXPECT_FALSE(dc.ProxyRefused());
}
