#include "net/response.h"

#include <QList>
#include <gtest/gtest.h>
#include <random>

namespace {

const ByteText OkResponse =
    "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n" + W("<html>тело</html>");

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
    EXPECT_NE(JudgeResponse("HTTP/1.0 4070 Odd\r\n\r\nx"), ResponseVerdict::ProxyAuthFailed);
    EXPECT_EQ(JudgeResponse("HTTP/1.0  407 Unauthorized\r\n\r\n"), ResponseVerdict::Response);
    EXPECT_NE(JudgeResponse("HTTP/1.x 407 Proxy Authentication Required\r\n\r\n"),
              ResponseVerdict::ProxyAuthFailed);
    EXPECT_EQ(JudgeResponse("HTTP/1.0 200 OK\r\n\r\nHTTP/1.0 407 Unauthorized"),
              ResponseVerdict::Response);
}

TEST(Response, NotFoundCountsOnlyWithinTheFirstNineteenCharacters) {
    ExpectSameVerdictAtEverySplit("HTTP/1.0 404 Not Found\r\n\r\nnothing",
                                  ResponseVerdict::NotFound);
    // Starting at the 19th character (index 18) still counts, at the 20th not.
    const ByteText status = "HTTP/1.1 200 ";
    EXPECT_EQ(JudgeResponse(status + ByteText(5, 'x') + "404 Not Found\r\n\r\n"),
              ResponseVerdict::NotFound);
    EXPECT_EQ(JudgeResponse(status + ByteText(6, 'x') + "404 Not Found\r\n\r\n"),
              ResponseVerdict::Response);
    // Without a status line at all the position alone decides.
    EXPECT_EQ(JudgeResponse(ByteText(18, 'x') + "404 Not Found\r\n\r\n"),
              ResponseVerdict::NotFound);
    // A page whose body mentions it is returned.
    ExpectSameVerdictAtEverySplit("HTTP/1.0 200 OK\r\n\r\n<p>404 Not Found</p>",
                                  ResponseVerdict::Response);
}

TEST(Response, OtherStatusesAreOrdinaryResponses) {
    ExpectSameVerdictAtEverySplit(OkResponse, ResponseVerdict::Response);
    ExpectSameVerdictAtEverySplit("HTTP/1.0 302 Found\r\nLocation: /other/\r\n\r\n",
                                  ResponseVerdict::Response);
    EXPECT_EQ(JudgeResponse("HTTP/1.1 500 Internal Server Error\r\n\r\n"),
              ResponseVerdict::Response);
}

TEST(Response, AnswerWithoutAStatusLineIsAFailure) {
    for (const ByteText& bytes :
         {ByteText("plain bytes without a header"), ByteText("GIF89a\x01\x00\x01\x00"),
          ByteText("<html>page</html>\r\n\r\n"), ByteText("HTTP/1.0 OK\r\n\r\nbody"),
          ByteText("HTTP/1.0 20 OK\r\n\r\n"), ByteText("HTTP/1.0 2000 OK\r\n\r\n"),
          ByteText("HTTP/x.0 200 OK\r\n\r\n"), ByteText("\r\nHTTP/1.0 200 OK\r\n\r\n"),
          ByteText("http/1.0 200 OK\r\n\r\n")})
        EXPECT_EQ(JudgeResponse(bytes), ResponseVerdict::NoStatusLine) << bytes.constData();
    // A status line cut short is a cut response, whatever follows it would be.
    for (const ByteText& bytes : {ByteText("H"), ByteText("HTTP/"), ByteText("HTTP/1.0 2"),
                                  ByteText("HTTP/1.0 200"), ByteText("HTTP/1.0 200 OK\r\n")})
        EXPECT_EQ(JudgeResponse(bytes), ResponseVerdict::Truncated) << bytes.constData();
    // Every status with a proper line and header is an answer.
    EXPECT_EQ(JudgeResponse("HTTP/1.0 204\r\n\r\n"), ResponseVerdict::Response);
    EXPECT_EQ(JudgeResponse("HTTP/1.0  407 Unauthorized\r\n\r\n"), ResponseVerdict::Response);
}

TEST(Response, CloseWithoutDataAndCutResponsesAreFailures) {
    EXPECT_EQ(JudgeResponse(""), ResponseVerdict::NoData);
    // The header never ended.
    EXPECT_EQ(JudgeResponse("HTTP/1.0 200 OK\r\nContent-Ty"), ResponseVerdict::Truncated);
    // Fewer body bytes than declared; exactly as many, or more, is complete.
    const ByteText head = "HTTP/1.0 200 OK\r\ncontent-length: 10\r\n\r\n";
    for (int n = 0; n < 10; ++n)
        EXPECT_EQ(JudgeResponse(head + ByteText(n, 'a')), ResponseVerdict::Truncated) << n;
    EXPECT_EQ(JudgeReceived(head + ByteText(10, 'a')).response, head + ByteText(10, 'a'));
    // A length that is no length makes the answer a damaged one.
    for (const char* length : {"many", "-1", "+2", "2x", "", "18014398509481984"})
        EXPECT_EQ(
            JudgeResponse("HTTP/1.0 200 OK\r\nContent-Length: " + ByteText(length) + "\r\n\r\nab"),
            ResponseVerdict::BadFraming)
            << length;
    EXPECT_EQ(JudgeResponse("HTTP/1.0 200 OK\r\nContent-Length: 9007199254740992\r\n\r\nab"),
              ResponseVerdict::Truncated)
        << "2^53 itself is a length";
    // No request asks for a range, so no part of a resource is taken as it.
    EXPECT_EQ(JudgeResponse("HTTP/1.0 206 Partial Content\r\nContent-Length: 2\r\n\r\nab"),
              ResponseVerdict::BadFraming);
    // A length mentioned in the body is not the header's.
    EXPECT_EQ(JudgeResponse("HTTP/1.0 200 OK\r\n\r\nContent-Length: 99\r\n"),
              ResponseVerdict::Response);
}

TEST(Response, BodyIsCutAtContentLength) {
    const ByteText head = "HTTP/1.0 200 OK\r\nContent-Length: 4\r\nContent-Type: image/gif\r\n\r\n";
    const JudgedResponse judged = JudgeReceived(head + "GIF8" + "HTTP/1.0 200 OK\r\n\r\nextra");
    EXPECT_EQ(judged.verdict, ResponseVerdict::Response);
    EXPECT_EQ(judged.response, head + "GIF8");
    EXPECT_EQ(ExtractBody(judged.response), "GIF8");
    // Two lengths that disagree leave nothing to trust; two that agree are one.
    EXPECT_EQ(JudgeResponse("HTTP/1.0 200 OK\r\nContent-Length: 2\r\nContent-Length: 3\r\n\r\nabc"),
              ResponseVerdict::BadFraming);
    EXPECT_EQ(JudgeReceived("HTTP/1.0 200 OK\r\nContent-Length: 2\r\nContent-length: 2\r\n\r\nabc")
                  .response.right(3),
              "\nab");
}

TEST(Response, ResetEndsOnlyABodyThatKnowsItsEnd) {
    const ByteText unsized = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n<html>half";
    EXPECT_EQ(JudgeResponse(unsized, ConnectionEnd::Closed), ResponseVerdict::Response);
    EXPECT_EQ(JudgeResponse(unsized, ConnectionEnd::Reset), ResponseVerdict::Truncated);
    EXPECT_EQ(JudgeReceived(unsized, ConnectionEnd::Reset).response, "");
    // Cut inside the header or short of its length: cut either way.
    EXPECT_EQ(JudgeResponse("HTTP/1.0 200 OK\r\nContent-Ty", ConnectionEnd::Reset),
              ResponseVerdict::Truncated);
    const ByteText sized = "HTTP/1.0 200 OK\r\nContent-Length: 3\r\n\r\nabc";
    EXPECT_EQ(JudgeResponse(sized.chopped(1), ConnectionEnd::Reset), ResponseVerdict::Truncated);
    // A reset after the whole declared body has lost nothing.
    EXPECT_EQ(JudgeReceived(sized, ConnectionEnd::Reset).response, sized);
    EXPECT_EQ(JudgeResponse("", ConnectionEnd::Reset), ResponseVerdict::NoData);
}

TEST(Response, ChunkedBodyIsDecodedAndItsHeaderSaysItsLength) {
    ByteText binary;
    for (int b = 0; b < 256; ++b)
        binary += char(b);
    const ByteText head = "HTTP/1.1 200 OK\r\nContent-Type: image/gif\r\nTransfer-Encoding: "
                          "chunked\r\nContent-Length: 999\r\nX-After: 1\r\n\r\n";
    const ByteText framed = "5\r\nhello\r\n1;name=value\r\n \r\n100\r\n" + binary +
                            "\r\n0\r\nX-Trailer: dropped\r\n\r\n";
    const JudgedResponse judged = JudgeReceived(head + framed + "after the end");
    ASSERT_EQ(judged.verdict, ResponseVerdict::Response);
    EXPECT_EQ(judged.response, "HTTP/1.1 200 OK\r\nContent-Length: 262\r\nContent-Type: "
                               "image/gif\r\nX-After: 1\r\n\r\nhello " +
                                   binary);
    // The coding line last in the header, or the only one.
    EXPECT_EQ(
        JudgeReceived("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1\r\nx\r\n0\r\n\r\n")
            .response,
        "HTTP/1.1 200 OK\r\nContent-Length: 1\r\n\r\nx");
    // The decoded response is whole by its own rules, as the cache reads it.
    EXPECT_EQ(JudgeReceived(judged.response).response, judged.response);
    // Upper-case digits, blanks around the length and lone LF line ends pass.
    EXPECT_EQ(ExtractBody(JudgeReceived("HTTP/1.1 200 OK\r\ntransfer-encoding:  Chunked \r\n\r\n"
                                        "A \nabcdefghij\n0\n")
                              .response),
              "abcdefghij");
}

TEST(Response, ChunkedBodyCutAnywhereBeforeItsLastPieceIsNeverAResponse) {
    const ByteText whole = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                           "4\r\nWiki\r\n5\r\npedia\r\nE\r\n in\r\n\r\nchunks.\r\n0\r\n\r\n";
    const qsizetype lastPieceEnd = whole.size() - 2;
    for (qsizetype cut = 1; cut < lastPieceEnd; ++cut)
        ASSERT_EQ(JudgeResponse(whole.left(cut)), ResponseVerdict::Truncated) << cut;
    for (qsizetype cut = lastPieceEnd; cut <= whole.size(); ++cut)
        EXPECT_EQ(ExtractBody(JudgeReceived(whole.left(cut)).response),
                  "Wikipedia in\r\n\r\nchunks.")
            << cut;
}

TEST(Response, DamagedChunksAndUnknownCodingsAreFailures) {
    const ByteText head = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
    for (const ByteText& framed :
         {ByteText("zz\r\nab\r\n0\r\n\r\n"), ByteText("\r\n0\r\n\r\n"), ByteText("-1\r\n0\r\n\r\n"),
          ByteText("3\r\nabcd\r\n0\r\n\r\n"), ByteText("1000000000000000\r\n")})
        EXPECT_EQ(JudgeResponse(head + framed), ResponseVerdict::BadFraming) << framed.constData();
    // A length past what arrived is a cut body, not a damaged one.
    EXPECT_EQ(JudgeResponse(head + "FFFFFFFFFFFFFFF\r\nab"), ResponseVerdict::Truncated);
    for (const ByteText& coding : {ByteText("gzip"), ByteText("gzip, chunked"),
                                   ByteText("chunked, gzip"), ByteText("chunked, chunked")})
        EXPECT_EQ(
            JudgeResponse("HTTP/1.1 200 OK\r\nTransfer-Encoding: " + coding + "\r\n\r\n0\r\n\r\n"),
            ResponseVerdict::BadFraming)
            << coding.constData();
    EXPECT_EQ(JudgeReceived("HTTP/1.1 200 OK\r\nTransfer-Encoding: identity\r\n\r\nplain").response,
              "HTTP/1.1 200 OK\r\nTransfer-Encoding: identity\r\n\r\nplain");
}

TEST(Response, OnlyTwoHundredOkOfEitherVersionWithABodyIsCacheable) {
    EXPECT_TRUE(IsCacheable(OkResponse));
    EXPECT_TRUE(IsCacheable("HTTP/1.1 200 OK\r\n\r\nx"));
    EXPECT_FALSE(IsCacheable("HTTP/1.1 200 OK\r\n\r\n"));
    EXPECT_FALSE(IsCacheable("HTTP/1.0 302 Found\r\n\r\n"));
    EXPECT_FALSE(IsCacheable("HTTP/1.0 404 Not Found\r\n\r\n"));
    EXPECT_FALSE(IsCacheable("HTTP/1.1 201 Created\r\n\r\n"));
    EXPECT_FALSE(IsCacheable("HTTP/2 200 OK\r\n\r\n"));
    EXPECT_FALSE(IsCacheable("http/1.0 200 OK\r\n\r\n"));
    EXPECT_FALSE(IsCacheable(""));
}

TEST(Response, BodyStartsAfterTheFirstBlankLine) {
    EXPECT_EQ(ExtractBody(OkResponse), W("<html>тело</html>"));
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

// What the cache relies on: an accepted response, judged again, is accepted
// as it is. Tried on random damage to answers of every framing.
TEST(Response, AcceptedResponseIsAcceptedAgainUnchanged) {
    const QList<ByteText> seeds = {
        "HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\nhello",
        "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n0\r\n\r\n",
        "HTTP/1.0 302 Found\r\nLocation: /x\r\n\r\n",
        "HTTP/1.1 200\nTransfer-Encoding: chunked\nX: 404 Not Found\n\r\n\r\n1\nx\n0\n",
    };
    const QList<ByteText> pieces = {"\r\n",
                                    "\n",
                                    "0\r\n\r\n",
                                    "Transfer-Encoding: chunked\r\n",
                                    "Content-Length: 3\r\n",
                                    "404 Not Found",
                                    "HTTP/1.1 ",
                                    ";x",
                                    " ",
                                    "\r\n\r\n",
                                    "a\r\n"};
    std::mt19937 random(19);
    int accepted = 0;
    for (int round = 0; round < 20000; ++round) {
        ByteText bytes = seeds[random() % seeds.size()];
        for (int edits = 1 + random() % 3; edits > 0; --edits) {
            const qsizetype at = random() % (bytes.size() + 1);
            switch (random() % 3) {
            case 0:
                bytes.insert(at, pieces[random() % pieces.size()]);
                break;
            case 1:
                bytes.remove(at, 1 + random() % 4);
                break;
            default:
                if (at < bytes.size())
                    bytes[at] = char(random());
            }
        }
        const ConnectionEnd end = random() % 2 ? ConnectionEnd::Reset : ConnectionEnd::Closed;
        const JudgedResponse judged = JudgeReceived(bytes, end);
        if (judged.verdict != ResponseVerdict::Response) {
            ASSERT_TRUE(judged.response.isEmpty());
            continue;
        }
        ++accepted;
        ASSERT_EQ(JudgeReceived(judged.response).response, judged.response)
            << bytes.toPercentEncoding().constData();
    }
    EXPECT_GT(accepted, 1000);
}
