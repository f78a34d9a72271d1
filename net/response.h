#pragma once
// What a finished fetch means, judged from the bytes received and the way
// the connection ended alone, so every rule can be tested (and fuzzed) with
// canned bytes and no socket. A response is the raw text of the server:
// status line, headers, blank line, body, one character per byte.

#include "settings/bytetext.h"

// The largest response kept in memory. A server that never stops sending ends
// the fetch in "error" instead of exhausting memory.
inline constexpr qsizetype MaxResponseBytes = qsizetype(64) * 1024 * 1024;

enum class ResponseVerdict {
    Response,        // hand it to the caller as it is (redirects and 5xx included)
    ProxyAuthFailed, // a proxy's 407 status line (IsProxyAuthRefusal in net/proxy_auth.h)
    NotFound,        // "404 Not Found" starting within the first 19 characters
    NoData,          // the server closed without sending a byte
    NoStatusLine,    // the bytes do not begin with an "HTTP/x.y NNN" status line
    Truncated,       // the header never ended, the body is shorter than its
                     // Content-Length or its last chunk, or a body without
                     // either was cut by a reset
    BadFraming,      // conflicting or unreadable lengths (negative, not a
                     // number, beyond 2^53), malformed chunks, a transfer
                     // coding other than chunked, or a 206 Partial Content
                     // (no request asks for a range)
};

// How the server ended the connection: an orderly close (FIN) marks the end
// of a body without a length; a reset (RST) only cuts it off.
enum class ConnectionEnd { Closed, Reset };

struct JudgedResponse {
    ResponseVerdict verdict = ResponseVerdict::NoData;
    // For Response: what the caller gets and the cache keeps. The received
    // bytes, cut after Content-Length bytes of body; a chunked body comes
    // decoded, its header carrying "Content-Length: n" in place of the
    // Transfer-Encoding and length lines. Empty for every other verdict.
    ByteText response;
};

// The judgement of everything a connection delivered before it ended.
JudgedResponse JudgeReceived(const ByteText& received, ConnectionEnd end = ConnectionEnd::Closed);
// The verdict alone.
ResponseVerdict JudgeResponse(const ByteText& received, ConnectionEnd end = ConnectionEnd::Closed);

// Only "HTTP/1.0 200 OK" and "HTTP/1.1 200 OK" responses with a body go into
// the cache: an empty answer is a failed item, and a stored one would fail
// every later run too.
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
