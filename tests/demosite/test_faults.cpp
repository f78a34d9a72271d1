// Every fault switch of the demo site does what it says, within bounded time.
#include "tests/demosite/fetch.h"
#include "tests/support/demo_site.h"

#include <gtest/gtest.h>

namespace {

class DemoSiteFaults : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        site = new DemoSite({"--fault",      "/version.info?404=404",
                             "--fault",      "/version.info?407=407",
                             "--fault",      "/version.info?500=500",
                             "--fault",      "/version.info?302=302",
                             "--fault",      "?close=close",
                             "--fault",      "?silent=silent",
                             "--fault",      "?reset=reset",
                             "--fault",      "?dribble=dribble",
                             "--fault",      "?endless=endless",
                             "--fault",      "?split=split-header",
                             "--fault",      "?http11=http11",
                             "--fault",      "?unsized=reset-unsized",
                             "--fault",      "?chunked=chunked",
                             "--fault",      "?long=long",
                             "--fault",      "?headless=no-status",
                             "--fault",      "/daily/archive/=500:2",
                             "--fault",      "/daily/*/print/=404",
                             "--fault",      "newspaper:^/=500",
                             "--fault",      "update:^/download.php?version=9=close",
                             "--dribble-ms", "1"});
    }
    static void TearDownTestSuite() {
        delete site;
        site = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(site->isRunning()) << site->error().toStdString(); }

    static RawResult get(const ByteText& host, const ByteText& path, int timeoutMs = 10000) {
        return rawExchange(host, programRequest(host, path), timeoutMs);
    }
    static ByteText statusLine(const RawResult& result) {
        return result.bytes.left(result.bytes.indexOf("\r\n"));
    }
    static DemoSite* site;
};
DemoSite* DemoSiteFaults::site = nullptr;

TEST_F(DemoSiteFaults, StatusFaultsAnswerWithTheirStatusLines) {
    const ByteText host = site->update();
    EXPECT_EQ(statusLine(get(host, "/version.info?404")), "HTTP/1.0 404 Not Found");
    const RawResult challenge = get(host, "/version.info?407");
    EXPECT_EQ(statusLine(challenge), "HTTP/1.0 407 Unauthorized");
    EXPECT_TRUE(challenge.bytes.contains("\r\nProxy-Authenticate: Basic"));
    EXPECT_EQ(statusLine(get(host, "/version.info?500")), "HTTP/1.0 500 Internal Server Error");
    const RawResult moved = get(host, "/version.info?302");
    EXPECT_EQ(statusLine(moved), "HTTP/1.0 302 Found");
    EXPECT_TRUE(moved.bytes.contains("\r\nLocation: http://" + host + "/moved/version.info\r\n"));
    const RawResult modern = get(host, "/version.info?http11");
    EXPECT_EQ(statusLine(modern), "HTTP/1.1 200 OK");
    EXPECT_TRUE(bodyOf(modern.bytes).startsWith("[Main]"));
    // Without a fault the same path is served normally.
    EXPECT_EQ(statusLine(get(host, "/version.info")), "HTTP/1.0 200 OK");
}

TEST_F(DemoSiteFaults, CountedFaultServesOnlyItsFirstRequests) {
    const ByteText host = site->newspaper();
    EXPECT_EQ(statusLine(get(host, "/daily/archive/")), "HTTP/1.0 500 Internal Server Error");
    EXPECT_EQ(statusLine(get(host, "/daily/archive/")), "HTTP/1.0 500 Internal Server Error");
    EXPECT_EQ(statusLine(get(host, "/daily/archive/")), "HTTP/1.0 200 OK");
}

TEST_F(DemoSiteFaults, WildcardMatchesTheWholePath) {
    const ByteText host = site->newspaper();
    const ByteText page = getBody(host, "/daily/" + ByteText::number(24001));
    ASSERT_FALSE(page.isEmpty());
    const qsizetype at = page.indexOf("<h3><a href=\"/daily/24001/") + 13;
    const ByteText article = page.mid(at, page.indexOf('"', at) - at);
    EXPECT_EQ(statusLine(get(host, article + "/print/")), "HTTP/1.0 404 Not Found");
    EXPECT_EQ(statusLine(get(host, article)), "HTTP/1.0 200 OK");
    EXPECT_EQ(statusLine(get(host, article + "/print/x")), "HTTP/1.0 404 Not Found");
}

TEST_F(DemoSiteFaults, HostAndWholePathRulesHoldOnlyWhereTheySay) {
    EXPECT_EQ(statusLine(get(site->newspaper(), "/")), "HTTP/1.0 500 Internal Server Error");
    EXPECT_EQ(statusLine(get(site->newspaper(), "/rubric/x/")), "HTTP/1.0 404 Not Found");
    EXPECT_EQ(statusLine(get(site->magazineArchive(), "/")), "HTTP/1.0 200 OK");
    EXPECT_TRUE(get(site->update(), "/download.php?version=9").bytes.isEmpty());
    EXPECT_EQ(statusLine(get(site->update(), "/download.php?version=91")), "HTTP/1.0 200 OK");
    EXPECT_EQ(statusLine(get(site->newspaper(), "/download.php?version=9")),
              "HTTP/1.0 404 Not Found");
}

TEST_F(DemoSiteFaults, CloseEndsTheConnectionWithoutAByte) {
    const RawResult result = get(site->newspaper(), "/?close", 5000);
    EXPECT_TRUE(result.bytes.isEmpty());
    EXPECT_TRUE(result.closedByServer);
    EXPECT_LT(result.elapsedMs, 3000);
}

TEST_F(DemoSiteFaults, SilentNeverAnswersButKeepsTheConnection) {
    const RawResult result = get(site->newspaper(), "/?silent", 1500);
    EXPECT_TRUE(result.bytes.isEmpty());
    EXPECT_TRUE(result.timedOut);
    EXPECT_FALSE(result.closedByServer);
}

TEST_F(DemoSiteFaults, ResetBreaksTheConnectionInTheMiddleOfTheBody) {
    const ByteText host = site->newspaper();
    const RawResult normal = get(host, "/daily/24001");
    ASSERT_TRUE(normal.closedByServer);
    ASSERT_TRUE(normal.bytes.startsWith("HTTP/1.0 200 OK"));
    const RawResult broken = get(host, "/daily/24001?reset", 5000);
    EXPECT_LT(broken.bytes.size(), normal.bytes.size());
    EXPECT_FALSE(broken.timedOut);
    EXPECT_LT(broken.elapsedMs, 3000);
    // curl sees a receive failure (56) rather than a complete page.
    const CurlResult viaCurl =
        curl({"http://" + QString::fromLatin1(host) + "/daily/24001?reset"}, 5);
    EXPECT_NE(viaCurl.exitCode, 0);
    EXPECT_LT(viaCurl.output.size(), bodyOf(normal.bytes).size());
}

TEST_F(DemoSiteFaults, DamagedAnswersAreShapedAsTheirKindsSay) {
    const ByteText host = site->newspaper();
    const ByteText path = "/daily/24001";
    const ByteText normal = get(host, path).bytes;
    const ByteText body = bodyOf(normal);
    ASSERT_TRUE(normal.startsWith("HTTP/1.0 200 OK\r\n"));

    const RawResult unsized = get(host, path + "?unsized", 5000);
    EXPECT_FALSE(unsized.bytes.contains("Content-Length"));
    EXPECT_TRUE(body.startsWith(bodyOf(unsized.bytes)));
    EXPECT_LT(bodyOf(unsized.bytes).size(), body.size());
    EXPECT_LT(unsized.elapsedMs, 3000);

    const ByteText chunked = get(host, path + "?chunked").bytes;
    EXPECT_TRUE(chunked.startsWith("HTTP/1.1 200 OK\r\n"));
    EXPECT_TRUE(chunked.contains("\r\nTransfer-Encoding: chunked\r\n"));
    EXPECT_FALSE(chunked.contains("Content-Length"));
    EXPECT_TRUE(bodyOf(chunked).startsWith("3e8\r\n" + body.left(1000) + "\r\n"));
    EXPECT_TRUE(chunked.endsWith("\r\n0\r\n\r\n"));

    const ByteText long_ = get(host, path + "?long").bytes;
    EXPECT_TRUE(long_.startsWith(normal));
    EXPECT_GT(long_.size(), normal.size());

    EXPECT_EQ(get(host, path + "?headless").bytes, body);
}

TEST_F(DemoSiteFaults, DribbleSendsTheWholeReplyByteByByte) {
    const ByteText host = site->update();
    const RawResult normal = get(host, "/version.info");
    const RawResult slow = get(host, "/version.info?dribble", 20000);
    ASSERT_TRUE(slow.closedByServer);
    EXPECT_EQ(slow.bytes, normal.bytes);
    // Pieces arrive one by one; a little coalescing on a busy machine is fine.
    EXPECT_GT(slow.reads, normal.bytes.size() / 3);
    EXPECT_GE(slow.elapsedMs, normal.bytes.size() / 2);
}

TEST_F(DemoSiteFaults, SplitHeaderSendsTheHeadAByteAtATimeThenTheBody) {
    const ByteText host = site->update();
    const RawResult normal = get(host, "/version.info");
    const RawResult split = get(host, "/version.info?split", 20000);
    ASSERT_TRUE(split.closedByServer);
    EXPECT_EQ(split.bytes, normal.bytes);
    const qsizetype head = normal.bytes.indexOf("\r\n\r\n") + 4;
    EXPECT_GT(split.reads, head / 3);
}

TEST_F(DemoSiteFaults, EndlessBodyNeverEnds) {
    const RawResult result = rawExchange(
        site->newspaper(), programRequest(site->newspaper(), "/?endless"), 3000, 2 * 1024 * 1024);
    EXPECT_TRUE(result.bytes.startsWith("HTTP/1.0 200 OK\r\n"));
    EXPECT_GE(result.bytes.size(), 2 * 1024 * 1024);
    EXPECT_FALSE(result.closedByServer);
}

TEST_F(DemoSiteFaults, FaultsApplyThroughTheProxyToo) {
    const RawResult result =
        rawExchange(site->proxy(), programRequest(site->update(), "/version.info?404", true));
    EXPECT_EQ(statusLine(result), "HTTP/1.0 404 Not Found");
    const RawResult closed =
        rawExchange(site->proxy(), programRequest(site->newspaper(), "/?close", true), 5000);
    EXPECT_TRUE(closed.bytes.isEmpty());
    EXPECT_TRUE(closed.closedByServer);
}

} // namespace
