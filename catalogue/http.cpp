#include "catalogue/http.h"

#include <QLocale>

namespace {

struct ByteRange {
    qint64 first = 0;
    qint64 last = 0;
};

// The one range of a "bytes=" Range header against a representation of
// size bytes: a range, nothing (ignore the header: several ranges, another
// unit, a syntax error) or a range with first past last (unsatisfiable).
std::optional<ByteRange> parseRange(const QByteArray& header, qint64 size) {
    if (!header.toLower().startsWith("bytes=") || header.contains(','))
        return std::nullopt;
    const QByteArray bounds = header.mid(6).trimmed();
    const qsizetype dash = bounds.indexOf('-');
    if (dash < 0)
        return std::nullopt;
    bool firstOk = false, lastOk = false;
    const qint64 first = bounds.left(dash).toLongLong(&firstOk);
    const qint64 last = bounds.mid(dash + 1).toLongLong(&lastOk);
    if (dash == 0) { // the last N bytes
        if (!lastOk || last < 0)
            return std::nullopt;
        return last == 0 ? ByteRange{1, 0} : ByteRange{qMax<qint64>(0, size - last), size - 1};
    }
    if (!firstOk || first < 0 || (dash + 1 < bounds.size() && (!lastOk || last < first)))
        return std::nullopt;
    if (first >= size)
        return ByteRange{1, 0};
    return ByteRange{first, dash + 1 < bounds.size() ? qMin(last, size - 1) : size - 1};
}

bool etagListed(const QByteArray& list, const QByteArray& etag) {
    for (QByteArray tag : list.split(',')) {
        tag = tag.trimmed();
        if (tag == "*" || (tag.startsWith("W/") ? tag.mid(2) : tag) == etag)
            return true;
    }
    return false;
}

bool notModified(const CatalogueRequest& request, const CatalogueReply& reply) {
    const QByteArray noneMatch = request.header("if-none-match");
    if (!noneMatch.isEmpty())
        return etagListed(noneMatch, reply.etag);
    const QDateTime since = ParseHttpDate(request.header("if-modified-since"));
    return since.isValid() && reply.lastModified.isValid() && reply.lastModified <= since;
}

// If-Range: the range holds only for the representation the client has.
bool rangeStillApplies(const CatalogueRequest& request, const CatalogueReply& reply) {
    const QByteArray ifRange = request.header("if-range").trimmed();
    if (ifRange.isEmpty())
        return true;
    if (ifRange.startsWith('"'))
        return ifRange == reply.etag;
    return ParseHttpDate(ifRange) == reply.lastModified;
}

CatalogueReply notModifiedReply(const CatalogueReply& reply) {
    CatalogueReply answer;
    answer.status = 304;
    answer.reason = "Not Modified";
    answer.etag = reply.etag;
    answer.lastModified = reply.lastModified;
    answer.headOnly = true;
    return answer;
}

CatalogueReply partOf(CatalogueReply reply, const ByteRange& range) {
    const qint64 whole = reply.size;
    reply.status = 206;
    reply.reason = "Partial Content";
    reply.size = range.last - range.first + 1;
    if (reply.file.isEmpty())
        reply.body = reply.body.mid(range.first, reply.size);
    else
        reply.offset += range.first;
    reply.extraHeaders += "Content-Range: bytes " + QByteArray::number(range.first) + "-" +
                          QByteArray::number(range.last) + "/" + QByteArray::number(whole) + "\r\n";
    return reply;
}

} // namespace

QByteArray CatalogueRequest::header(const QByteArray& lowerName) const {
    for (const auto& [name, value] : headers) {
        if (name == lowerName)
            return value;
    }
    return {};
}

qsizetype RequestHeadEnd(const QByteArray& received) {
    const qsizetype crlf = received.indexOf("\r\n\r\n");
    const qsizetype lf = received.indexOf("\n\n");
    if (crlf >= 0 && (lf < 0 || crlf < lf))
        return crlf + 4;
    return lf >= 0 ? lf + 2 : -1;
}

std::optional<CatalogueRequest> ParseRequestHead(const QByteArray& head) {
    QList<QByteArray> lines = head.split('\n');
    for (QByteArray& line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    const QList<QByteArray> requestLine = lines.value(0).split(' ');
    if (requestLine.size() != 3 || requestLine[0].isEmpty() || requestLine[1].isEmpty() ||
        !requestLine[2].startsWith("HTTP/"))
        return std::nullopt;
    CatalogueRequest request{requestLine[0], requestLine[1], requestLine[2], {}};
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0)
            request.headers.append(
                {lines[i].left(colon).trimmed().toLower(), lines[i].mid(colon + 1).trimmed()});
    }
    return request;
}

CatalogueReply ApplyConditions(const CatalogueRequest& request, CatalogueReply reply) {
    if (reply.status != 200 || reply.etag.isEmpty())
        return reply;
    if (notModified(request, reply))
        return notModifiedReply(reply);
    const QByteArray rangeHeader = request.header("range");
    if (request.method != "GET" || rangeHeader.isEmpty() || !rangeStillApplies(request, reply))
        return reply;
    const std::optional<ByteRange> range = parseRange(rangeHeader, reply.size);
    if (!range)
        return reply;
    if (range->first > range->last) {
        CatalogueReply refused = StatusReply(416, "Range Not Satisfiable");
        refused.extraHeaders = "Content-Range: bytes */" + QByteArray::number(reply.size) + "\r\n";
        refused.headOnly = reply.headOnly;
        return refused;
    }
    return partOf(reply, *range);
}

QByteArray ReplyHeader(const CatalogueReply& reply) {
    QByteArray head = "HTTP/1.1 " + QByteArray::number(reply.status) + " " + reply.reason +
                      "\r\nDate: " + HttpDate(QDateTime::currentDateTimeUtc()) + "\r\n";
    if (reply.status != 304) // a 304 describes the representation the client holds
        head += "Content-Type: " + reply.contentType +
                "\r\nContent-Length: " + QByteArray::number(reply.size) + "\r\n";
    if (!reply.etag.isEmpty()) {
        head += "ETag: " + reply.etag + "\r\n";
        if (reply.status != 304)
            head += "Accept-Ranges: bytes\r\n";
    }
    if (reply.lastModified.isValid())
        head += "Last-Modified: " + HttpDate(reply.lastModified) + "\r\n";
    return head + reply.extraHeaders + "Connection: close\r\n\r\n";
}

QByteArray ReplyBytes(const CatalogueReply& reply) {
    return ReplyHeader(reply) + (reply.headOnly ? QByteArray() : reply.body);
}

QByteArray HttpDate(const QDateTime& time) {
    return QLocale::c()
        .toString(time.toUTC(), QStringLiteral("ddd, dd MMM yyyy HH:mm:ss 'GMT'"))
        .toLatin1();
}

QDateTime ParseHttpDate(const QByteArray& text) {
    const QDateTime read = QLocale::c().toDateTime(
        QString::fromLatin1(text.trimmed()), QStringLiteral("ddd, dd MMM yyyy HH:mm:ss 'GMT'"));
    return read.isValid() ? QDateTime(read.date(), read.time(), Qt::UTC) : QDateTime();
}
