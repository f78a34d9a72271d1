#pragma once
// The HTTP of the catalogue, apart from the socket: the request head as it
// arrived, the conditions and the byte range a client may add to a GET
// (If-None-Match, If-Modified-Since, If-Range, Range) and the bytes of the
// answer's head. Readers on a weak link resume a cut book with a range and
// ask again for a feed only when it changed.

#include "catalogue/routes.h"

#include <QByteArray>
#include <QDateTime>
#include <optional>

struct CatalogueRequest {
    QByteArray method;
    QByteArray target;
    QByteArray version;                               // "HTTP/1.0", "HTTP/1.1"
    QList<std::pair<QByteArray, QByteArray>> headers; // names in lower case

    QByteArray header(const QByteArray& lowerName) const;
};

// Where a request head ends: the index just past its empty line (CR LF CR
// LF, or a bare LF LF), or -1 while it has not arrived whole.
qsizetype RequestHeadEnd(const QByteArray& received);

// The request line and header lines of a head; nothing when the request
// line is not "METHOD TARGET HTTP/x.y".
std::optional<CatalogueRequest> ParseRequestHead(const QByteArray& head);

// The answer once the request's conditions and range are weighed: 304 when
// the client holds this very representation, 206 with the part asked for,
// 416 when the range lies past the end; otherwise reply as it is. Replies
// that carry validators take part; others are answered whole.
CatalogueReply ApplyConditions(const CatalogueRequest& request, CatalogueReply reply);

// The whole bytes of an answer that has its body in memory (a status, a
// feed): head, then the body unless the request was HEAD.
QByteArray ReplyBytes(const CatalogueReply& reply);

// The header block of a reply, "Connection: close" included.
QByteArray ReplyHeader(const CatalogueReply& reply);

// Dates as HTTP writes them ("Sun, 06 Nov 1994 08:49:37 GMT"); an invalid
// date for text that is none.
QByteArray HttpDate(const QDateTime& time);
QDateTime ParseHttpDate(const QByteArray& text);
