#pragma once
// The catalogue's answer to one request, apart from the socket: the
// method and target of the request line decide it. Read-only: GET and HEAD
// only; a target with "..", a backslash, an encoded "/" or a second "/"
// where a name stands is refused, and every file served is an e-book or a
// cover of an issue folder that lies inside the download folder once
// symbolic links are resolved.

#include "catalogue/index.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

struct CatalogueReply {
    int status = 200;
    QByteArray reason = "OK";
    QByteArray contentType;
    QByteArray body;         // the answer, unless file is set
    QString file;            // a file sent as it is (an e-book)
    qint64 offset = 0;       // where in file the answer starts (a range)
    qint64 size = 0;         // the length of body, or of what is sent of file
    QByteArray extraHeaders; // whole lines, each ending in CR LF
    bool headOnly = false;   // HEAD: the header alone
    // Validators of what is served, from the files it is made of; both
    // empty for an answer that is no representation (an error).
    QByteArray etag; // strong, quotes included
    QDateTime lastModified;
    // Set when the answer is the book of this issue folder, which is to be
    // made first; the request is then answered again.
    QString bookToMake;
};

// The index is brought up to date first. host: the request's Host header,
// for the whole addresses a few answers carry.
CatalogueReply AnswerCatalogueRequest(const QByteArray& method, const QByteArray& target,
                                      CatalogueIndex& index, const QByteArray& host = {});

// A reply with a short text body for a status without content.
CatalogueReply StatusReply(int status, const QByteArray& reason);
