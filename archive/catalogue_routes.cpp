#include "archive/catalogue_routes.h"

#include "archive/catalogue_feed.h"
#include "archive/catalogue_search.h"
#include "processing/book_pictures.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QUrl>
#include <QUrlQuery>
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

// A made answer (a feed, a thumbnail) is the same bytes as long as the files
// it is made of are: its tag is a digest of those bytes, its time the
// newest of theirs.
CatalogueReply madeReply(const QByteArray& contentType, const QByteArray& body,
                         const QDateTime& changed) {
    CatalogueReply reply = bytesReply(contentType, body);
    reply.etag =
        "\"" + QCryptographicHash::hash(body, QCryptographicHash::Sha1).toHex().left(24) + "\"";
    reply.lastModified = WholeSeconds(changed);
    return reply;
}

// A file sent as it is, tagged by its size and time of change; downloadName
// (set for a book) is the name a reader saves it under.
CatalogueReply fileReply(const QString& file, const QByteArray& contentType,
                         const QString& downloadName = {}) {
    const QFileInfo info(file);
    CatalogueReply reply;
    reply.contentType = contentType;
    reply.file = file;
    reply.size = info.size();
    reply.lastModified = WholeSeconds(info.lastModified());
    reply.etag = "\"" + QByteArray::number(info.size(), 16) + "-" +
                 QByteArray::number(info.lastModified().toMSecsSinceEpoch(), 16) + "\"";
    if (!downloadName.isEmpty())
        reply.extraHeaders = "Content-Disposition: attachment; filename=\"" +
                             QUrl::toPercentEncoding(downloadName) + "\"\r\n";
    return reply;
}

// One name of a path, decoded; nothing when it could reach out of its
// folder, is hidden or is no name at all.
std::optional<QString> safeName(const QByteArray& raw) {
    if (raw.isEmpty() || raw.contains('/') || raw.contains('\\') || raw.contains("%2f") ||
        raw.contains("%2F") || raw.contains("%5c") || raw.contains("%5C"))
        return std::nullopt;
    const QString name = QUrl::fromPercentEncoding(raw);
    if (name.contains(QLatin1String("..")) || name.contains(QChar(0)) || name.startsWith('.'))
        return std::nullopt;
    return name;
}

std::optional<QString> nameAfter(const QByteArray& path, const char* prefix) {
    return safeName(path.mid(qstrlen(prefix)));
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
    if (!issue || !QFileInfo(book).isFile() || !InsideFolder(book, downloadFolder))
        return StatusReply(404, "Not Found");
    return fileReply(book, "application/epub+zip", fileName);
}

// The book of the newest complete issue of a source, under the issue's own
// file name, so one bookmark always brings the latest paper.
CatalogueReply latestReply(const QString& name, const QString& downloadFolder) {
    const int source = name == QLatin1String("kp.epub") ? 1 : (name == "kt.epub" ? 2 : 0);
    for (const CatalogueEntry& entry : CatalogueEntries(downloadFolder)) {
        if (entry.issue.source == source && entry.complete)
            return bookReply(entry.issue.name + ".epub", downloadFolder);
    }
    return StatusReply(404, "Not Found");
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
    const QDateTime changed = QFileInfo(cover).lastModified();
    const QByteArray type = PictureMediaType(bytes.left(16));
    if (!thumbnail && !type.isEmpty())
        return madeReply(type, bytes, changed);
    QImage image = QImage::fromData(bytes);
    if (image.isNull())
        return StatusReply(404, "Not Found");
    if (thumbnail)
        image = image.scaled(ThumbnailWidth, ThumbnailHeight, Qt::KeepAspectRatio,
                             Qt::SmoothTransformation);
    return madeReply("image/png", png(image), changed);
}

QByteArray issueFileType(const QString& file) {
    if (file.endsWith(QLatin1String(".htm")) || file.endsWith(QLatin1String(".html")))
        return "text/html; charset=windows-1251";
    QFile picture(file);
    const QByteArray type =
        PictureMediaType(picture.open(QIODevice::ReadOnly) ? picture.read(16) : QByteArray());
    return type.isEmpty() ? QByteArray("application/octet-stream") : type;
}

// A file of an issue folder ("NAME/index.htm", "NAME/img/x.gif"), so the
// entry's page link opens the issue as the program saved it.
CatalogueReply issueFileReply(const QByteArray& rest, const QString& downloadFolder) {
    const QList<QByteArray> raw = rest.split('/');
    QStringList names;
    for (const QByteArray& part : raw) {
        const std::optional<QString> name = safeName(part);
        if (!name)
            return StatusReply(400, "Bad Request");
        names << *name;
    }
    if (names.size() < 2 || names.size() > 3)
        return StatusReply(404, "Not Found");
    const auto issue = issueNamed(names.takeFirst(), downloadFolder);
    const QString file = issue ? issue->folder + "/" + names.join('/') : QString();
    if (!issue || !QFileInfo(file).isFile() || !InsideFolder(file, issue->folder))
        return StatusReply(404, "Not Found");
    return fileReply(file, issueFileType(file));
}

CatalogueReply feedReply(const QList<CatalogueEntry>& entries, const QByteArray& feed) {
    return madeReply(QByteArray(AcquisitionFeedType) + ";charset=utf-8", feed,
                     NewestChange(entries));
}

CatalogueReply searchReply(const QByteArray& target, const QString& downloadFolder) {
    const QUrlQuery query(QUrl::fromEncoded(target));
    const QString terms = query.queryItemValue(QStringLiteral("q"), QUrl::FullyDecoded);
    const QList<CatalogueEntry> found = MatchingIssues(CatalogueEntries(downloadFolder), terms);
    return feedReply(found,
                     OpdsFeed(found, "urn:norvel:search:" + terms.toUtf8().toPercentEncoding(),
                              QStringLiteral("Поиск: ") + terms, target));
}

// The scheme and authority of the request's own address, when the Host
// header names one plainly; else nothing, and the search template is a
// path from the root.
QByteArray rootOf(const QByteArray& host) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9.:\\[\\]-]{1,255}$"));
    return plain.match(QString::fromLatin1(host)).hasMatch() ? "http://" + host : QByteArray();
}

CatalogueReply pageReply(const QString& downloadFolder, bool feed) {
    const QList<CatalogueEntry> entries = CatalogueEntries(downloadFolder);
    if (feed)
        return feedReply(entries, OpdsFeed(entries));
    const int withoutBook = int(ListArchivedIssues(downloadFolder).size() - entries.size());
    return madeReply("text/html; charset=utf-8", CataloguePage(entries, withoutBook),
                     NewestChange(entries));
}

CatalogueReply route(const QByteArray& path, const QByteArray& target, const QByteArray& host,
                     const QString& downloadFolder) {
    if (path == "/" || path == "/index.html")
        return pageReply(downloadFolder, false);
    if (path == FeedPath || path == QByteArray(FeedPath) + "/")
        return pageReply(downloadFolder, true);
    if (path == SearchPath)
        return searchReply(target, downloadFolder);
    if (path == SearchDescriptionPath)
        return madeReply("application/opensearchdescription+xml; charset=utf-8",
                         SearchDescription(rootOf(host)),
                         QDateTime::fromSecsSinceEpoch(0, Qt::UTC));
    if (path.startsWith(IssuePath))
        return issueFileReply(path.mid(qstrlen(IssuePath)), downloadFolder);
    for (const char* prefix : {BookPath, ThumbnailPath, CoverPath, LatestPath}) {
        if (!path.startsWith(prefix))
            continue;
        const std::optional<QString> name = nameAfter(path, prefix);
        if (!name)
            return StatusReply(400, "Bad Request");
        if (prefix == BookPath)
            return bookReply(*name, downloadFolder);
        if (prefix == LatestPath)
            return latestReply(*name, downloadFolder);
        return coverReply(*name, downloadFolder, prefix == ThumbnailPath);
    }
    return StatusReply(404, "Not Found");
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
                                      const QString& downloadFolder, const QByteArray& host) {
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
                               : route(path, target, host, downloadFolder);
    reply.headOnly = method == "HEAD";
    return reply;
}
