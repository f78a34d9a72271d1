// The judgement of a finished fetch from its bytes: the verdict, whether it
// may be cached, the body after the header, the decoded answer the caller
// and the cache get after a close and after a reset, and the buffer that
// collects the bytes as they arrive. The input is taken as a whole raw
// response; as the body of a well-formed answer that declares its length one
// byte too long, exactly right, or one byte short; as the body of one that
// declares none; and as a chunked body.
#include "net/response.h"
#include "tests/fuzz/fuzz_check.h"

#include <cstdint>

namespace {

constexpr ConnectionEnd BothEnds[] = {ConnectionEnd::Closed, ConnectionEnd::Reset};

void judgeRaw(const ByteText& response) {
    const ResponseVerdict verdict = JudgeResponse(response);
    FUZZ_CHECK((verdict == ResponseVerdict::NoData) == response.isEmpty());
    if (IsCacheable(response))
        FUZZ_CHECK(response.startsWith("HTTP/1."));
    // The body comes from after the first blank line, and never from
    // anywhere else (it may stop short of the end at a declared length).
    const ByteText body = ExtractBody(response);
    const qsizetype headerEnd = response.indexOf("\r\n\r\n");
    if (headerEnd < 0)
        FUZZ_CHECK(body.isEmpty());
    else
        FUZZ_CHECK(response.mid(headerEnd + 4).startsWith(body));
}

// Bytes after an accepted answer: one that carries its length (a decoded
// chunked answer does) is cut there however the connection ended; one
// without takes them in on a close and is never accepted after a reset.
void judgeWithBytesAfter(const ByteText& accepted) {
    const ByteText longer = accepted + "\r\n\r\nmore";
    const JudgedResponse closed = JudgeReceived(longer, ConnectionEnd::Closed);
    const JudgedResponse reset = JudgeReceived(longer, ConnectionEnd::Reset);
    if (reset.verdict == ResponseVerdict::Response) {
        FUZZ_CHECK(reset.response == accepted);
        FUZZ_CHECK(closed.response == accepted);
    } else {
        FUZZ_CHECK(reset.verdict == ResponseVerdict::Truncated);
        FUZZ_CHECK(closed.response == longer);
    }
}

// The bytes as a connection delivered them, ended by a close and by a reset.
void judgeReceived(const ByteText& received) {
    const JudgedResponse closed = JudgeReceived(received, ConnectionEnd::Closed);
    const JudgedResponse reset = JudgeReceived(received, ConnectionEnd::Reset);
    for (const JudgedResponse& judged : {closed, reset}) {
        const bool accepted = judged.verdict == ResponseVerdict::Response;
        FUZZ_CHECK(judged.response.isEmpty() != accepted);
        if (!accepted)
            continue;
        // What the caller and the cache get is a finished answer: judged
        // again, from the cache say, it stays exactly as it is.
        FUZZ_CHECK(JudgeReceived(judged.response).response == judged.response);
        FUZZ_CHECK(judged.response.contains("\r\n\r\n"));
        judgeWithBytesAfter(judged.response);
    }
    // A reset only ever takes an answer away, and only one whose body has
    // no length: that one a close accepts as it came.
    if (reset.verdict == ResponseVerdict::Response)
        FUZZ_CHECK(closed.response == reset.response);
    if (closed.verdict != reset.verdict) {
        FUZZ_CHECK(reset.verdict == ResponseVerdict::Truncated);
        FUZZ_CHECK(closed.response == received);
    }
}

ByteText answerDeclaring(qsizetype length, const ByteText& body) {
    return "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
           ByteText::number(length) + "\r\n\r\n" + body;
}

void judgeDeclaredLengths(const ByteText& body) {
    FUZZ_CHECK(JudgeResponse(answerDeclaring(body.size() + 1, body)) == ResponseVerdict::Truncated);
    const ByteText exact = answerDeclaring(body.size(), body);
    FUZZ_CHECK(JudgeResponse(exact) == ResponseVerdict::Response);
    FUZZ_CHECK(IsCacheable(exact));
    FUZZ_CHECK(ExtractBody(exact) == body);
    if (body.isEmpty())
        return;
    // The declared length cuts the body, whatever ended the connection.
    const ByteText longer = answerDeclaring(body.size() - 1, body);
    for (const ConnectionEnd end : BothEnds) {
        const JudgedResponse judged = JudgeReceived(longer, end);
        FUZZ_CHECK(judged.verdict == ResponseVerdict::Response);
        FUZZ_CHECK(judged.response == longer.chopped(1));
        FUZZ_CHECK(ExtractBody(judged.response) == body.chopped(1));
    }
}

// A body without a length ends at the server's orderly close; a reset cuts
// it somewhere unknown, so it is never accepted.
void judgeWithoutLength(const ByteText& body) {
    const ByteText answer = "HTTP/1.0 200 OK\r\nContent-Type: image/gif\r\n\r\n" + body;
    FUZZ_CHECK(JudgeReceived(answer, ConnectionEnd::Closed).response == answer);
    FUZZ_CHECK(JudgeResponse(answer, ConnectionEnd::Reset) == ResponseVerdict::Truncated);
}

// The body sent chunked, in pieces whose sizes the bytes themselves pick,
// with a chunk extension now and then.
ByteText chunkedAnswer(const ByteText& body) {
    ByteText answer = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
    for (qsizetype at = 0; at < body.size();) {
        const ByteText piece = body.mid(at, 1 + uchar(body[at]) % 64);
        answer += ByteText::number(piece.size(), 16) + (piece.size() % 3 ? "" : ";x=y") + "\r\n" +
                  piece + "\r\n";
        at += piece.size();
    }
    return answer + "0\r\n\r\n";
}

// A chunked body comes decoded, whatever ended the connection; cut before
// its last piece it is never accepted.
void judgeChunked(const ByteText& body) {
    const ByteText answer = chunkedAnswer(body);
    const ByteText cut = answer.chopped(5);
    for (const ConnectionEnd end : BothEnds) {
        const JudgedResponse judged = JudgeReceived(answer, end);
        FUZZ_CHECK(judged.verdict == ResponseVerdict::Response);
        FUZZ_CHECK(ExtractBody(judged.response) == body);
        const ByteText header = judged.response.left(judged.response.indexOf("\r\n\r\n"));
        FUZZ_CHECK(!header.contains("Transfer-Encoding"));
        FUZZ_CHECK(JudgeResponse(cut, end) == ResponseVerdict::Truncated);
    }
}

// Delivers the bytes in pieces whose sizes the bytes themselves pick, into a
// buffer whose limit is a little under the whole: a piece is taken whole when
// it fits beside what is held, and refused without a trace when it does not.
void collectInPieces(const ByteText& bytes) {
    ResponseBuffer buffer(bytes.size() - bytes.size() / 8);
    ByteText held;
    for (qsizetype at = 0; at < bytes.size();) {
        const ByteText chunk = bytes.mid(at, 1 + uchar(bytes[at]) % 64);
        const bool fits = held.size() + chunk.size() <= buffer.limit();
        FUZZ_CHECK(buffer.append(chunk) == fits);
        if (fits)
            held += chunk;
        FUZZ_CHECK(buffer.bytes() == held);
        at += chunk.size();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const ByteText input(reinterpret_cast<const char*>(data), qsizetype(size));
    judgeRaw(input);
    judgeReceived(input);
    judgeDeclaredLengths(input);
    judgeWithoutLength(input);
    judgeChunked(input);
    collectInPieces(input);
    return 0;
}
