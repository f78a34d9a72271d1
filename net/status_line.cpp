#include "net/status_line.h"

StatusLine ReadStatusLine(const ByteText& bytes) {
    if (!bytes.startsWith("HTTP/"))
        return {};
    qsizetype at = 5;
    auto skipDigits = [&] {
        const qsizetype start = at;
        while (at < bytes.size() && IsDigit(bytes[at]))
            ++at;
        return at - start;
    };
    auto expect = [&](char c) { return at < bytes.size() && bytes[at++] == c; };
    auto digit = [&](qsizetype i) { return bytes[i] - '0'; };

    const qsizetype majorAt = at;
    const qsizetype majorDigits = skipDigits();
    if (majorDigits == 0 || !expect('.'))
        return {};
    const qsizetype minorAt = at;
    const qsizetype minorDigits = skipDigits();
    if (minorDigits == 0 || !expect(' '))
        return {};
    const qsizetype blanksEnd = at;
    while (at < bytes.size() && bytes[at] == ' ')
        ++at;
    const bool oneBlank = at == blanksEnd;
    const qsizetype codeAt = at;
    if (skipDigits() != 3)
        return {};
    // A fourth character other than these would make the "code" part of a
    // longer word, as in "2000" or "200OK".
    if (at < bytes.size() && bytes[at] != ' ' && bytes[at] != '\r' && bytes[at] != '\n')
        return {};

    StatusLine line;
    line.present = true;
    line.code = digit(codeAt) * 100 + digit(codeAt + 1) * 10 + digit(codeAt + 2);
    line.wellFormed = majorDigits == 1 && minorDigits == 1 && oneBlank;
    if (line.wellFormed) {
        line.major = digit(majorAt);
        line.minor = digit(minorAt);
    }
    return line;
}

std::optional<int> StatusCodeOf(const ByteText& bytes) {
    const StatusLine line = ReadStatusLine(bytes);
    return line.wellFormed ? std::optional<int>(line.code) : std::nullopt;
}

bool IsSuccessStatus(const ByteText& bytes) {
    const std::optional<int> code = StatusCodeOf(bytes);
    return code && *code / 100 == 2;
}

bool HasStatus(const ByteText& bytes, int code) {
    const StatusLine line = ReadStatusLine(bytes);
    return line.wellFormed && line.major == 1 && line.code == code;
}

bool IsStatusLineCutShort(const ByteText& bytes) {
    return !bytes.contains('\n') && ByteText("HTTP/").startsWith(bytes.left(5));
}
