#include "net/response.h"

#include "net/chunked_body.h"
#include "net/proxy_auth.h"
#include "net/status_line.h"

#include <QList>
#include <optional>

namespace {

const ByteText HeaderEnd = "\r\n\r\n";

// "404 Not Found" starting within the first 19 bytes, where a status line
// carries it. Only that head is searched: a picture's body is no place for
// it, and scanning every body for the phrase cost more than judging the rest.
bool IsNotFound(const ByteText& bytes) {
    static const ByteText phrase = "404 Not Found";
    constexpr qsizetype latestStart = 18;
    return bytes.left(latestStart + phrase.size()).contains(phrase);
}

// The name of a header line in lower case, or empty for a line without one.
ByteText FieldName(const ByteText& line) {
    const qsizetype colon = line.indexOf(':');
    return colon < 0 ? ByteText() : line.left(colon).trimmed().toLower();
}

ByteText FieldValue(const ByteText& line) {
    return line.mid(line.indexOf(':') + 1).trimmed();
}

// What the header says about where the body ends.
struct Framing {
    bool chunked = false;
    bool unknownCoding = false; // a transfer coding this program cannot undo
    std::optional<qsizetype> length;
    bool conflictingLengths = false;
    bool unreadableLength = false; // negative, not a number, or beyond 2^53
};

// A Content-Length value: decimal digits only, at most 2^53 (the largest
// length any sender can mean exactly).
std::optional<qsizetype> ContentLength(const ByteText& value) {
    constexpr qint64 Largest = qint64(1) << 53;
    if (value.isEmpty() || value.size() > 16)
        return std::nullopt;
    for (char c : value)
        if (!IsDigit(c))
            return std::nullopt;
    const qint64 n = value.toLongLong();
    return n <= Largest ? std::optional<qsizetype>(n) : std::nullopt;
}

Framing ReadFraming(const ByteText& header) {
    Framing framing;
    QList<ByteText> codings;
    const QList<ByteText> lines = header.split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const ByteText name = FieldName(lines[i]);
        if (name == "transfer-encoding") {
            for (const ByteText& coding : FieldValue(lines[i]).split(',')) {
                const ByteText c = coding.trimmed().toLower();
                if (!c.isEmpty() && c != "identity")
                    codings.append(c);
            }
        } else if (name == "content-length") {
            const std::optional<qsizetype> n = ContentLength(FieldValue(lines[i]));
            if (!n)
                framing.unreadableLength = true;
            else if (framing.length && *framing.length != *n)
                framing.conflictingLengths = true;
            if (n)
                framing.length = n;
        }
    }
    framing.chunked = codings == QList<ByteText>{"chunked"};
    framing.unknownCoding = !codings.isEmpty() && !framing.chunked;
    return framing;
}

// The header with the length of the decoded body right after the status
// line and without its transfer coding, length and blank lines, every line
// ended by CR LF, followed by that body. Judged again, it is accepted as it is: the
// status line keeps its place, so the 404 and 407 rules read the same bytes.
ByteText WithDecodedBody(const ByteText& header, const ByteText& body) {
    const QList<ByteText> lines = header.split('\n');
    auto withoutCr = [](const ByteText& line) {
        return line.endsWith('\r') ? line.chopped(1) : line;
    };
    ByteText out = withoutCr(lines[0]) + "\r\nContent-Length: " + ByteText::number(body.size());
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const ByteText line = withoutCr(lines[i]);
        const ByteText name = FieldName(line);
        // A blank line here (lone LF ends) would end the new header early.
        if (!line.isEmpty() && name != "transfer-encoding" && name != "content-length")
            out += "\r\n" + line;
    }
    return out + HeaderEnd + body;
}

JudgedResponse Verdict(ResponseVerdict verdict) {
    return {verdict, {}};
}

JudgedResponse Accepted(const ByteText& response) {
    return {ResponseVerdict::Response, response};
}

} // namespace

JudgedResponse JudgeReceived(const ByteText& received, ConnectionEnd end) {
    if (received.isEmpty())
        return Verdict(ResponseVerdict::NoData);
    if (IsProxyAuthRefusal(received))
        return Verdict(ResponseVerdict::ProxyAuthFailed);
    if (IsNotFound(received))
        return Verdict(ResponseVerdict::NotFound);
    if (IsStatusLineCutShort(received))
        return Verdict(ResponseVerdict::Truncated);
    // A careless status line (several blanks before the code) is still an
    // answer; its code is read all the same.
    const StatusLine status = ReadStatusLine(received);
    if (!status.present)
        return Verdict(ResponseVerdict::NoStatusLine);
    const qsizetype headerEnd = received.indexOf(HeaderEnd);
    if (headerEnd < 0)
        return Verdict(ResponseVerdict::Truncated);
    const ByteText header = received.left(headerEnd);
    const qsizetype bodyStart = headerEnd + HeaderEnd.size();
    const Framing framing = ReadFraming(header);
    // No request asks for a range: a part of a resource is no answer to one.
    if (framing.unknownCoding || status.code == 206)
        return Verdict(ResponseVerdict::BadFraming);
    // A chunked body carries its own end; any length line is ignored.
    if (framing.chunked) {
        const ChunkedBody body = DecodeChunked(received.mid(bodyStart));
        switch (body.outcome) {
        case ChunkedBody::Outcome::Complete:
            return Accepted(WithDecodedBody(header, body.bytes));
        case ChunkedBody::Outcome::Incomplete:
            return Verdict(ResponseVerdict::Truncated);
        case ChunkedBody::Outcome::Malformed:
            return Verdict(ResponseVerdict::BadFraming);
        }
    }
    if (framing.conflictingLengths || framing.unreadableLength)
        return Verdict(ResponseVerdict::BadFraming);
    if (framing.length) {
        if (received.size() - bodyStart < *framing.length)
            return Verdict(ResponseVerdict::Truncated);
        return Accepted(received.left(bodyStart + *framing.length));
    }
    // Without a length only an orderly close ends the body.
    if (end == ConnectionEnd::Reset)
        return Verdict(ResponseVerdict::Truncated);
    return Accepted(received);
}

ResponseVerdict JudgeResponse(const ByteText& received, ConnectionEnd end) {
    return JudgeReceived(received, end).verdict;
}

bool IsCacheable(const ByteText& response) {
    const bool ok =
        response.startsWith("HTTP/1.0 200 OK") || response.startsWith("HTTP/1.1 200 OK");
    const qsizetype at = response.indexOf(HeaderEnd);
    return ok && at >= 0 && at + HeaderEnd.size() < response.size();
}

ByteText ExtractBody(const ByteText& response) {
    qsizetype at = response.indexOf(HeaderEnd);
    return at < 0 ? ByteText() : response.mid(at + HeaderEnd.size());
}

bool ResponseBuffer::append(const ByteText& chunk) {
    if (chunk.size() > limit_ - bytes_.size())
        return false;
    bytes_ += chunk;
    return true;
}
