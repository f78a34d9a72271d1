// The one reader of the status line: what it takes for a line, what it reads
// from it, and which lines are only careless enough to pass as HTTP.
#include "net/status_line.h"

#include <gtest/gtest.h>
#include <utility>

TEST(StatusLine, WellFormedLinesGiveTheirVersionAndCode) {
    struct Case {
        const char* bytes;
        int major, minor, code;
    };
    for (const Case& c :
         {Case{"HTTP/1.0 200 OK\r\n\r\n", 1, 0, 200},
          Case{"HTTP/1.1 404 Not Found\r\nServer: x\r\n\r\n", 1, 1, 404},
          Case{"HTTP/2.0 503\r\n", 2, 0, 503}, Case{"HTTP/1.0 302\nLocation: /\n\n", 1, 0, 302},
          Case{"HTTP/1.1 407 ", 1, 1, 407}, Case{"HTTP/1.0 204", 1, 0, 204},
          Case{"HTTP/0.9 099 odd", 0, 9, 99}}) {
        const StatusLine line = ReadStatusLine(c.bytes);
        EXPECT_TRUE(line.present && line.wellFormed) << c.bytes;
        EXPECT_EQ(line.major, c.major) << c.bytes;
        EXPECT_EQ(line.minor, c.minor) << c.bytes;
        EXPECT_EQ(line.code, c.code) << c.bytes;
        EXPECT_EQ(StatusCodeOf(c.bytes), c.code) << c.bytes;
    }
}

TEST(StatusLine, CarelessLinesPassAsHttpButSayNothing) {
    // Several blanks before the code, or versions of more than one digit:
    // still an answer, with its code, but never read as a refusal or a
    // success.
    for (const auto& [bytes, code] :
         {std::pair{"HTTP/1.0  407 Unauthorized\r\n\r\n", 407},
          std::pair{"HTTP/1.1   200 OK\r\n", 200}, std::pair{"HTTP/1.10 200 OK\r\n", 200},
          std::pair{"HTTP/10.0 407\r\n", 407}}) {
        const StatusLine line = ReadStatusLine(bytes);
        EXPECT_TRUE(line.present) << bytes;
        EXPECT_FALSE(line.wellFormed) << bytes;
        EXPECT_EQ(line.code, code) << bytes;
        EXPECT_EQ(line.major, 0) << bytes;
        EXPECT_EQ(StatusCodeOf(bytes), std::nullopt) << bytes;
        EXPECT_FALSE(IsSuccessStatus(bytes)) << bytes;
        EXPECT_FALSE(HasStatus(bytes, 407)) << bytes;
    }
}

TEST(StatusLine, JunkIsNoStatusLine) {
    for (const char* bytes : {"",
                              "error",
                              "stop",
                              "<html>200 pictures</html>",
                              "HTTP/1.0 OK\r\n",
                              "HTTP/1.0 20 OK\r\n",
                              "HTTP/1.0 2000 OK\r\n",
                              "HTTP/1.0 200OK\r\n",
                              "HTTP/1.0 200\tOK\r\n",
                              "HTTP/x.0 200 OK\r\n",
                              "HTTP/1. 200 OK\r\n",
                              "HTTP/.1 200 OK\r\n",
                              "HTTP/1 200 OK\r\n",
                              "HTTP/2 200 OK\r\n",
                              "HTTP/1.0\t200 OK\r\n",
                              "HTTP/1.0\r\n200 OK\r\n\r\n",
                              " HTTP/1.0 200 OK\r\n",
                              "http/1.0 200 OK\r\n",
                              "\r\nHTTP/1.0 200 OK\r\n",
                              "HTTP/1.0 2"}) {
        EXPECT_FALSE(ReadStatusLine(bytes).present) << bytes;
        EXPECT_EQ(StatusCodeOf(bytes), std::nullopt) << bytes;
        EXPECT_FALSE(IsSuccessStatus(bytes)) << bytes;
    }
    // A status line further on (a body quoting one) is not the answer's.
    EXPECT_FALSE(ReadStatusLine("<p>x</p>\r\n\r\nHTTP/1.0 200 OK\r\n").present);
}

TEST(StatusLine, OnlyTwoHundredsOfAnyVersionAreSuccess) {
    for (const char* bytes :
         {"HTTP/1.0 200 OK\r\n", "HTTP/1.1 203 Non-Authoritative\r\n", "HTTP/1.0 204",
          "HTTP/1.1 299 x\r\n", "HTTP/2.0 200 OK\r\n", "HTTP/1.0 200 Connection established\r\n"})
        EXPECT_TRUE(IsSuccessStatus(bytes)) << bytes;
    for (const char* bytes :
         {"HTTP/1.0 199 x\r\n", "HTTP/1.0 300 x\r\n", "HTTP/1.1 302 Found\r\n",
          "HTTP/1.0 407 Unauthorized\r\n", "HTTP/1.1 500 Oops\r\n", "HTTP/1.0 020 x\r\n"})
        EXPECT_FALSE(IsSuccessStatus(bytes)) << bytes;
}

TEST(StatusLine, HasStatusWantsAnHttpOneLineWithExactlyThatCode) {
    EXPECT_TRUE(HasStatus("HTTP/1.0 407 Unauthorized\r\n\r\n", 407));
    EXPECT_TRUE(HasStatus("HTTP/1.1 407 Proxy Authentication Required\r\n", 407));
    EXPECT_TRUE(HasStatus("HTTP/1.0 407", 407));
    EXPECT_TRUE(HasStatus("HTTP/1.1 401\r\n", 401));
    EXPECT_FALSE(HasStatus("HTTP/1.1 401\r\n", 407));
    EXPECT_FALSE(HasStatus("HTTP/1.0 4070 Odd\r\n", 407));
    EXPECT_FALSE(HasStatus("HTTP/2.0 407 Proxy Authentication Required\r\n", 407));
    EXPECT_FALSE(HasStatus("HTTP/1.0 200 OK\r\n\r\nHTTP/1.0 407 Unauthorized", 407));
}

TEST(StatusLine, EveryStartOfALineIsCutShortUntilItsLineEnds) {
    // Judged before the line is whole, an answer must never look like
    // something other than HTTP: every start is either cut short or read.
    const ByteText whole = "HTTP/1.1 200 OK\r\nServer: x\r\n\r\n";
    const qsizetype lineEnd = whole.indexOf('\n');
    for (qsizetype n = 0; n <= whole.size(); ++n) {
        const ByteText start = whole.left(n);
        EXPECT_EQ(IsStatusLineCutShort(start), n <= lineEnd) << n;
        if (n >= 12) {
            EXPECT_EQ(ReadStatusLine(start).code, 200) << n;
        }
    }
    for (const char* bytes : {"X", "HTTX", "http/", "<html>", "HTTP/1.0 200 OK\n"})
        EXPECT_FALSE(IsStatusLineCutShort(bytes)) << bytes;
}
