#include "net/chunked_body.h"

#include <optional>

namespace {

// More hex digits than this would not fit the largest response kept anyway.
constexpr qsizetype MaxLengthDigits = 15;

// The value of one length line (blanks and extensions allowed), or nothing.
std::optional<qsizetype> PieceLength(ByteText line) {
    const qsizetype semicolon = line.indexOf(';');
    if (semicolon >= 0)
        line.truncate(semicolon);
    line = line.trimmed();
    if (line.isEmpty() || line.size() > MaxLengthDigits)
        return std::nullopt;
    qsizetype length = 0;
    for (char c : line) {
        int digit = c >= '0' && c <= '9'   ? c - '0'
                    : c >= 'a' && c <= 'f' ? c - 'a' + 10
                    : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                           : -1;
        if (digit < 0)
            return std::nullopt;
        length = length * 16 + digit;
    }
    return length;
}

} // namespace

ChunkedBody DecodeChunked(const ByteText& framed) {
    using Outcome = ChunkedBody::Outcome;
    ChunkedBody result;
    qsizetype at = 0;
    for (;;) {
        const qsizetype lineEnd = framed.indexOf('\n', at);
        if (lineEnd < 0) {
            result.outcome = Outcome::Incomplete;
            return result;
        }
        const std::optional<qsizetype> length = PieceLength(framed.mid(at, lineEnd - at));
        if (!length) {
            result.outcome = Outcome::Malformed;
            return result;
        }
        at = lineEnd + 1;
        if (*length == 0) {
            result.outcome = Outcome::Complete;
            return result;
        }
        if (*length > framed.size() - at) {
            result.outcome = Outcome::Incomplete;
            return result;
        }
        result.bytes += framed.mid(at, *length);
        at += *length;
        // The piece's own line end: CR LF or LF.
        if (at < framed.size() && framed[at] == '\r')
            ++at;
        if (at >= framed.size()) {
            result.outcome = Outcome::Incomplete;
            return result;
        }
        if (framed[at] != '\n') {
            result.outcome = Outcome::Malformed;
            return result;
        }
        ++at;
    }
}
