#pragma once
// Requests and responses of the demo site, apart from the sockets: a request
// head parsed from bytes, and a response turned into bytes.

#include "settings/bytetext.h"

#include <QList>
#include <QPair>
#include <optional>

struct Request {
    ByteText head;    // request line and headers as received, blank line included
    ByteText method;  // "GET" (or "CONNECT")
    ByteText target;  // as sent: "/path?query", "http://host/path?query", "host:port"
    ByteText path;    // without query, "%XX" decoded; for an absolute URI without scheme and host
    ByteText query;   // after "?", or empty
    ByteText uriHost; // host (and port) of an absolute URI or a CONNECT, else empty
    ByteText version; // "HTTP/1.0"
    QList<QPair<ByteText, ByteText>> headers;

    bool absolute() const { return !uriHost.isEmpty(); }
    // Value of the first header of that name (letter case ignored), or empty.
    ByteText header(const ByteText& name) const;
};

// Largest request head accepted; a longer one is answered 400.
constexpr qsizetype MaxRequestHead = 64 * 1024;

// Length of a complete head at the start of bytes (through its blank line;
// CR LF CR LF, or LF LF from lax clients), or 0 while it is incomplete.
qsizetype completeHeadLength(const ByteText& bytes);
// Parses a complete head; nothing when the request line is malformed.
std::optional<Request> parseRequest(const ByteText& head);

struct Response {
    int status = 200;
    ByteText reason = "OK";
    ByteText version = "HTTP/1.0";
    QList<QPair<ByteText, ByteText>> headers;
    ByteText body;
    bool withLength = true; // the head carries Content-Length
    ByteText overrun;       // sent after the body, past its Content-Length

    // A response with its type and body; the length header is added on output.
    static Response make(int status, const ByteText& contentType, const ByteText& body);
    static Response html(const ByteText& body) {
        return make(200, "text/html; charset=windows-1251", body);
    }
    static Response notFound();
    void addHeader(const ByteText& name, const ByteText& value) { headers.append({name, value}); }
    ByteText headBytes() const;
};

ByteText reasonPhrase(int status);
