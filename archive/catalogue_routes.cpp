#include "archive/catalogue_routes.h"

#include "archive/catalogue_feed.h"
#include "processing/book_pictures.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QUrl>
#include <optional>

namespace {

constexpr int ThumbnailWidth = 160;
constexpr int ThumbnailHeight = 240;

CatalogueReply bytesReply(const QByteArray& contentType, const QByteArray& body) {
    CatalogueReply reply;
    reply.contentType = contentType;
    reply.body = body;
    reply.size = body.size();
    return reply;
}

// The name after a path's prefix, decoded; nothing when the name could
// reach out of its folder or is no name at all.
std::optional<QString> nameAfter(const QByteArray& path, const char* prefix) {
    const QByteArray raw = path.mid(qstrlen(prefix));
    if (raw.isEmpty() || raw.contains('/') || raw.contains('\\') || raw.contains("%2f") ||
        raw.contains("%2F") || raw.contains("%5c") || raw.contains("%5C"))
        return std::nullopt;
    const QString name = QUrl::fromPercentEncoding(raw);
    if (name.contains(QLatin1String("..")) || name.contains(QChar(0)) || name.startsWith('.'))
        return std::nullopt;
    return name;
}

std::optional<ArchivedIssue> issueNamed(const QString& name, const QString& downloadFolder) {
    const QString folder = downloadFolder + "/" + name;
    if (!InsideFolder(folder, downloadFolder))
        return std::nullopt;
    return ReadArchivedIssue(folder);
}

CatalogueReply bookReply(const QString& fileName, const QString& downloadFolder) {
    if (!fileName.endsWith(QLatin1String(".epub")))
        return StatusReply(404, "Not Found");
    const auto issue = issueNamed(fileName.chopped(5), downloadFolder);
    const QString book = issue ? EpubPathOf(issue->folder) : QString();
    const QFileInfo info(book);
    if (!issue || !info.isFile() || !InsideFolder(book, downloadFolder))
        return StatusReply(404, "Not Found");
    CatalogueReply reply;
    reply.contentType = "application/epub+zip";
    reply.file = book;
    reply.size = info.size();
    reply.extraHeaders = "Content-Disposition: attachment; filename=\"" +
                         QUrl::toPercentEncoding(fileName) + "\"\r\n";
    return reply;
}

QByteArray png(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// The cover as it is when readers can show it, else as PNG; a thumbnail
// is always a small PNG.
CatalogueReply coverReply(const QString& name, const QString& downloadFolder, bool thumbnail) {
    const auto issue = issueNamed(name, downloadFolder);
    const QString cover = issue ? IssueCoverFile(*issue) : QString();
    QFile file(cover);
    if (cover.isEmpty() || !file.open(QIODevice::ReadOnly))
        return StatusReply(404, "Not Found");
    const QByteArray bytes = file.readAll();
    const QByteArray type = PictureMediaType(bytes.left(16));
    if (!thumbnail && !type.isEmpty())
        return bytesReply(type, bytes);
    QImage image = QImage::fromData(bytes);
    if (image.isNull())
        return StatusReply(404, "Not Found");
    if (thumbnail)
        image = image.scaled(ThumbnailWidth, ThumbnailHeight, Qt::KeepAspectRatio,
                             Qt::SmoothTransformation);
    return bytesReply("image/png", png(image));
}

CatalogueReply pageReply(const QString& downloadFolder, bool feed) {
    const QList<CatalogueEntry> entries = CatalogueEntries(downloadFolder);
    if (feed)
        return bytesReply("application/atom+xml;profile=opds-catalog;kind=acquisition;"
                          "charset=utf-8",
                          OpdsFeed(entries, QDateTime::currentDateTimeUtc()));
    const int withoutBook = int(ListArchivedIssues(downloadFolder).size() - entries.size());
    return bytesReply("text/html; charset=utf-8", CataloguePage(entries, withoutBook));
}

CatalogueReply route(const QByteArray& path, const QString& downloadFolder) {
    if (path == "/" || path == "/index.html")
        return pageReply(downloadFolder, false);
    if (path == FeedPath || path == QByteArray(FeedPath) + "/")
        return pageReply(downloadFolder, true);
    const bool book = path.startsWith(BookPath);
    const bool thumbnail = path.startsWith(ThumbnailPath);
    if (!book && !thumbnail && !path.startsWith(CoverPath))
        return StatusReply(404, "Not Found");
    const std::optional<QString> name =
        nameAfter(path, book ? BookPath : (thumbnail ? ThumbnailPath : CoverPath));
    if (!name)
        return StatusReply(400, "Bad Request");
    return book ? bookReply(*name, downloadFolder) : coverReply(*name, downloadFolder, thumbnail);
}

} // namespace

CatalogueReply StatusReply(int status, const QByteArray& reason) {
    CatalogueReply reply =
        bytesReply("text/plain; charset=utf-8", QByteArray::number(status) + " " + reason + "\n");
    reply.status = status;
    reply.reason = reason;
    return reply;
}

CatalogueReply AnswerCatalogueRequest(const QByteArray& method, const QByteArray& target,
                                      const QString& downloadFolder) {
    if (method != "GET" && method != "HEAD") {
        CatalogueReply reply = StatusReply(405, "Method Not Allowed");
        reply.extraHeaders = "Allow: GET, HEAD\r\n";
        return reply;
    }
    // Only paths from the root: an absolute address or anything else is not
    // a name in this catalogue.
    const QByteArray path =
        target.left(target.indexOf('?') < 0 ? target.size() : target.indexOf('?'));
    CatalogueReply reply = !path.startsWith('/') || path.contains("/../") || path.endsWith("/..")
                               ? StatusReply(400, "Bad Request")
                               : route(path, downloadFolder);
    reply.headOnly = method == "HEAD";
    return reply;
}

QByteArray ReplyHeader(const CatalogueReply& reply) {
    return "HTTP/1.1 " + QByteArray::number(reply.status) + " " + reply.reason +
           "\r\nContent-Type: " + reply.contentType +
           "\r\nContent-Length: " + QByteArray::number(reply.size) + "\r\n" + reply.extraHeaders +
           "Connection: close\r\n\r\n";
}
