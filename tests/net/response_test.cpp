#include "net/response.h"

#include <gtest/gtest.h>

namespace {

const ByteText Ok = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n" + W("<html>тело</html>");

// The verdict when the bytes arrive in two pieces split at every position,
// which must equal the verdict for the whole.
void ExpectSameVerdictAtEverySplit(const ByteText& response, ResponseVerdict expected) {
    for (qsizetype cut = 0; cut <= response.size(); ++cut) {
        ResponseBuffer buffer;
        ASSERT_TRUE(buffer.append(response.left(cut)));
        ASSERT_TRUE(buffer.append(response.mid(cut)));
        ASSERT_EQ(buffer.bytes(), response) << cut;
        ASSERT_EQ(JudgeResponse(buffer.bytes()), expected) << cut;
    }
}

} // namespace

TEST(Response, AnyFourOhSevenStatusLineIsAProxyAuthorisationFailure) {
    const ByteText denied = "HTTP/1.0 407 Unauthorized\r\nProxy-Authenticate: Basic\r\n\r\n";
    ExpectSameVerdictAtEverySplit(denied, ResponseVerdict::ProxyAuthFailed);
    // Whatever the reason text: common proxies say "Proxy Authentication
    // Required", and some send none.
    ExpectSameVerdictAtEverySplit(
        "HTTP/1.1 407 Proxy Authentication Required\r\nContent-Length: 40\r\n\r\n" +
            W("<html>Доступ запрещён</html>"),
        ResponseVerdict::ProxyAuthFailed);
    EXPECT_EQ(JudgeResponse("HTTP/1.0 407\r\n\r\n"), ResponseVerdict::ProxyAuthFailed);
    EXPECT_EQ(JudgeResponse("HTTP/1.0 407"), ResponseVerdict::ProxyAuthFailed);
    // "407 Unauthorized" from the tenth character counts after any prefix.
    EXPECT_EQ(JudgeResponse("HTTP/2.0 407 Unauthorized\r\n\r\n"), ResponseVerdict::ProxyAuthFailed);
    // Not a 407 status line: other codes that begin so, a malformed line,
    // and a page that merely mentions 407.
    EXPECT_EQ(JudgeResponse("HTTP/1.0 4070 Odd\r\n\r\nx"), ResponseVerdict::Response);
    EXPECT_EQ(JudgeResponse("HTTP/1.0  407 Unauthorized\r\n\r\n"), ResponseVerdict::Response);
    EXPECT_EQ(JudgeResponse("HTTP/1.x 407 Proxy Authentication Required\r\n\r\n"),
              ResponseVerdict::Response);
    EXPECT_EQ(JudgeResponse("HTTP/1.0 200 OK\r\n\r\nHTTP/1.0 407 Unauthorized"),
              ResponseVerdict::Response);
}

TEST(Response, NotFoundCountsOnlyWithinTheFirstNineteenCharacters) {
    ExpectSameVerdictAtEverySplit("HTTP/1.0 404 Not Found\r\n\r\nnothing",
                                  ResponseVerdict::NotFound);
    // Starting at the 19th character (index 18) still counts, at the 20th not.
    EXPECT_EQ(JudgeResponse(ByteText(18, 'x') + "404 Not Found\r\n\r\n"),
              ResponseVerdict::NotFound);
    EXPECT_EQ(JudgeResponse(ByteText(19, 'x') + "404 Not Found\r\n\r\n"),
              ResponseVerdict::Response);
    // A page whose body mentions it is returned.
    ExpectSameVerdictAtEverySplit("HTTP/1.0 200 OK\r\n\r\n<p>404 Not Found</p>",
                                  ResponseVerdict::Response);
}

TEST(Response, OtherStatusesAreOrdinaryResponses) {
    ExpectSameVerdictAtEverySplit(Ok, ResponseVerdict::Response);
    ExpectSameVerdictAtEverySplit("HTTP/1.0 302 Found\r\nLocation: /other/\r\n\r\n",
                                  ResponseVerdict::Response);
    EXPECT_EQ(JudgeResponse("HTTP/1.1 500 Internal Server Error\r\n\r\n"),
              ResponseVerdict::Response);
    EXPECT_EQ(JudgeResponse("plain bytes without a header"), ResponseVerdict::Response);
}

TEST(Response, CloseWithoutDataAndCutResponsesAreFailures) {
    EXPECT_EQ(JudgeResponse(""), ResponseVerdict::NoData);
    // The header never ended.
    EXPECT_EQ(JudgeResponse("HTTP/1.0 200 OK\r\nContent-Ty"), ResponseVerdict::Truncated);
    // Fewer body bytes than declared; exactly as many, or more, is complete.
    const ByteText head = "HTTP/1.0 200 OK\r\ncontent-length: 10\r\n\r\n";
    for (int n = 0; n < 10; ++n)
        EXPECT_EQ(JudgeResponse(head + ByteText(n, 'a')), ResponseVerdict::Truncated) << n;
    EXPECT_EQ(JudgeResponse(head + ByteText(10, 'a')), ResponseVerdict::Response);
    EXPECT_EQ(JudgeResponse(head + ByteText(11, 'a')), ResponseVerdict::Response);
    // An unreadable length is not trusted either way.
    EXPECT_EQ(JudgeResponse("HTTP/1.0 200 OK\r\nContent-Length: many\r\n\r\nab"),
              ResponseVerdict::Response);
    // A length mentioned in the body is not the header's.
    EXPECT_EQ(JudgeResponse("HTTP/1.0 200 OK\r\n\r\nContent-Length: 99\r\n"),
              ResponseVerdict::Response);
}

TEST(Response, OnlyTwoHundredOkOfEitherVersionIsCacheable) {
    EXPECT_TRUE(IsCacheable(Ok));
    EXPECT_TRUE(IsCacheable("HTTP/1.1 200 OK\r\n\r\n"));
    EXPECT_FALSE(IsCacheable("HTTP/1.0 302 Found\r\n\r\n"));
    EXPECT_FALSE(IsCacheable("HTTP/1.0 404 Not Found\r\n\r\n"));
    EXPECT_FALSE(IsCacheable("HTTP/1.1 201 Created\r\n\r\n"));
    EXPECT_FALSE(IsCacheable("HTTP/2 200 OK\r\n\r\n"));
    EXPECT_FALSE(IsCacheable("http/1.0 200 OK\r\n\r\n"));
    EXPECT_FALSE(IsCacheable(""));
}

TEST(Response, BodyStartsAfterTheFirstBlankLine) {
    EXPECT_EQ(ExtractBody(Ok), W("<html>тело</html>"));
    EXPECT_EQ(ExtractBody("H\r\n\r\nA\r\n\r\nB"), "A\r\n\r\nB");
    EXPECT_EQ(ExtractBody("HTTP/1.0 200 OK\r\n\r\n"), "");
    EXPECT_EQ(ExtractBody("HTTP/1.0 200 OK\n\nbody"), "");
    EXPECT_EQ(ExtractBody(""), "");
    ByteText binary = "HTTP/1.0 200 OK\r\n\r\n";
    ByteText image;
    for (int b = 0; b < 256; ++b)
        image += char(b);
    EXPECT_EQ(ExtractBody(binary + image), image);
}

TEST(Response, BufferRefusesChunksPastItsLimit) {
    ResponseBuffer buffer(10);
    EXPECT_TRUE(buffer.append("12345"));
    EXPECT_TRUE(buffer.append("67890"));
    EXPECT_FALSE(buffer.append("x"));
    EXPECT_EQ(buffer.bytes(), "1234567890");
    EXPECT_EQ(ResponseBuffer().limit(), qsizetype(64) * 1024 * 1024);
}
