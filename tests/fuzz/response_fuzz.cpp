// The judgement of a finished fetch from its bytes: the verdict, whether it
// may be cached, the body after the header, and the buffer that collects the
// bytes as they arrive. The input is taken twice: as a whole raw response,
// and as the body of a well-formed answer that declares its length one byte
// too long, exactly right, or one byte short.
#include "net/response.h"
#include "tests/fuzz/fuzz_check.h"

#include <cstdint>

namespace {

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
    if (!body.isEmpty())
        FUZZ_CHECK(JudgeResponse(answerDeclaring(body.size() - 1, body)) ==
                   ResponseVerdict::Response);
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
    judgeDeclaredLengths(input);
    collectInPieces(input);
    return 0;
}
