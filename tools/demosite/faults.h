#pragma once
// Fault injection: rules "PATTERN=KIND" (or "PATTERN=KIND:COUNT") chosen on
// the command line. A pattern with "*", or one that begins with "^", is
// matched against the whole request path (query included), "*" standing for
// any run of characters; any other pattern matches as a substring. A pattern
// may begin with a host ("newspaper:", "archive:", "main:" or "update:") to
// hold for that host only. The first rule that matches a request decides its
// fault; a rule with a count serves only that many requests.

#include "settings/bytetext.h"

#include <QList>
#include <QString>
#include <optional>

enum class Fault {
    NotFound,       // "404": a 404 Not Found answer
    ProxyAuth,      // "407": a 407 Unauthorized answer with a challenge
    ServerError,    // "500": a 500 Internal Server Error answer
    Redirect,       // "302": a redirect with a Location header
    Close,          // "close": the connection is closed with no byte sent
    Silent,         // "silent": the request is read and never answered
    Reset,          // "reset": the connection is reset in the middle of the body
    Dribble,        // "dribble": the reply goes out one byte at a time, with delays
    Endless,        // "endless": a 200 answer whose body never ends
    SplitHeader,    // "split-header": the header block goes out one byte per write
    Http11,         // "http11": the answer's status line reads "HTTP/1.1 200 OK"
    ResetUnsized,   // "reset-unsized": no Content-Length, half the body, then a reset
    Chunked,        // "chunked": an HTTP/1.1 answer with its body in chunks
    Long,           // "long": more bytes after the body than Content-Length says
    NoStatus,       // "no-status": the body alone, without status line and header
    Empty,          // "empty": a 200 answer with an empty body
    Partial,        // "partial": the whole body as "206 Partial Content", asked or not
    LengthNegative, // "length-negative": the body with "Content-Length: -1"
    LengthText,     // "length-text": the body with "Content-Length: many"
    LengthHuge,     // "length-huge": the body with "Content-Length: 2^54"
};

struct FaultRule {
    ByteText host; // empty for every host
    ByteText pattern;
    bool whole = false; // the pattern must match the whole target
    Fault fault = Fault::NotFound;
    int remaining = -1; // requests still to serve; -1 without limit
};

class FaultRules {
public:
    // Adds a rule from "PATTERN=KIND[:COUNT]"; false with a message when malformed.
    bool add(const QString& ruleText, QString* error);
    // The fault for a request target (path and query) on a host ("newspaper",
    // "archive", "main", "update"), counting it against its rule.
    std::optional<Fault> take(const ByteText& host, const ByteText& target);
    bool isEmpty() const { return rules_.isEmpty(); }

    static bool wildcardMatch(const ByteText& pattern, const ByteText& text);
    static QString kindNames();

private:
    QList<FaultRule> rules_;
};
