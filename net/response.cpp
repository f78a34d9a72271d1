#include "net/response.h"

#include "net/proxy_auth.h"

#include <QList>
#include <optional>

namespace {

const ByteText HeaderEnd = "\r\n\r\n";

// The declared body length, when the header carries a readable one.
std::optional<qsizetype> ContentLength(const ByteText& header) {
    for (const ByteText& line : header.split('\n')) {
        qsizetype colon = line.indexOf(':');
        if (colon < 0 || line.left(colon).trimmed().toLower() != "content-length")
            continue;
        bool ok = false;
        qlonglong n = line.mid(colon + 1).trimmed().toLongLong(&ok);
        if (ok && n >= 0)
            return qsizetype(n);
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

ResponseVerdict JudgeResponse(const ByteText& response) {
    if (response.isEmpty())
        return ResponseVerdict::NoData;
    if (IsProxyAuthRefusal(response))
        return ResponseVerdict::ProxyAuthFailed;
    qsizetype notFound = response.indexOf("404 Not Found");
    if (notFound >= 0 && notFound < 19)
        return ResponseVerdict::NotFound;
    qsizetype headerEnd = response.indexOf(HeaderEnd);
    if (headerEnd < 0)
        return response.startsWith("HTTP/") ? ResponseVerdict::Truncated
                                            : ResponseVerdict::Response;
    std::optional<qsizetype> declared = ContentLength(response.left(headerEnd));
    qsizetype bodyLength = response.size() - headerEnd - HeaderEnd.size();
    if (declared && bodyLength < *declared)
        return ResponseVerdict::Truncated;
    return ResponseVerdict::Response;
}

bool IsCacheable(const ByteText& response) {
    return response.startsWith("HTTP/1.0 200 OK") || response.startsWith("HTTP/1.1 200 OK");
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
