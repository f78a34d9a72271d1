#pragma once
// What a finished fetch means, judged from the bytes received alone, so every
// rule can be tested with canned bytes and no socket. A response is the raw
// text of the server: status line, headers, blank line, body, one character
// per byte.

#include "settings/bytetext.h"

// The largest response kept in memory. A server that never stops sending ends
// the fetch in "error" instead of exhausting memory.
inline constexpr qsizetype MaxResponseBytes = qsizetype(64) * 1024 * 1024;

enum class ResponseVerdict {
    Response,        // hand it to the caller as it is (redirects and 5xx included)
    ProxyAuthFailed, // a proxy's 407 status line (IsProxyAuthRefusal in net/proxy_auth.h)
    NotFound,        // "404 Not Found" starting within the first 19 characters
    NoData,          // the server closed without sending a byte
    Truncated,       // the header never ended, or the body is shorter than Content-Length
};

// The verdict for the complete buffer of a connection the server has closed.
ResponseVerdict JudgeResponse(const ByteText& response);

// Only "HTTP/1.0 200 OK" and "HTTP/1.1 200 OK" responses go into the cache.
bool IsCacheable(const ByteText& response);

// Everything after the first CR LF CR LF; empty when there is none.
ByteText ExtractBody(const ByteText& response);

// The bytes of one fetch in arrival order, refused past a limit.
class ResponseBuffer {
public:
    explicit ResponseBuffer(qsizetype limit = MaxResponseBytes) : limit_(limit) {}

    // Appends a chunk; false (and nothing appended) when the whole would
    // exceed the limit.
    bool append(const ByteText& chunk);
    void clear() { bytes_.clear(); }
    void setLimit(qsizetype limit) { limit_ = limit; }
    qsizetype limit() const { return limit_; }

    const ByteText& bytes() const { return bytes_; }
    qsizetype size() const { return bytes_.size(); }

private:
    ByteText bytes_;
    qsizetype limit_;
};
