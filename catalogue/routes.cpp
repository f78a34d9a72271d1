#include "catalogue/routes.h"

#include "catalogue/feed.h"
#include "catalogue/navigation.h"
#include "ebook/book_pictures.h"

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
constexpr int BrowserPageIssues = 100;

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

// The issue the catalogue offers under a folder name that stays inside the
// download folder.
const CatalogueEntry* issueNamed(const QString& name, const CatalogueIndex& index) {
    const CatalogueEntry* entry = index.find(name);
    return entry && InsideFolder(entry->issue.folder, index.folder()) ? entry : nullptr;
}

// The book when it is there; else, for a complete issue, the note that it
// is to be made first.
CatalogueReply bookReply(const QString& fileName, const CatalogueIndex& index) {
    const CatalogueEntry* entry = fileName.endsWith(QLatin1String(".epub"))
                                      ? issueNamed(fileName.chopped(5), index)
                                      : nullptr;
    if (!entry)
        return StatusReply(404, "Not Found");
    const QString book = EpubPathOf(entry->issue.folder);
    if (QFileInfo(book).isFile() && InsideFolder(book, index.folder()))
        return fileReply(book, "application/epub+zip", fileName);
    if (!entry->complete || QFileInfo(book).isSymLink())
        return StatusReply(404, "Not Found");
    CatalogueReply reply = StatusReply(503, "Service Unavailable");
    reply.bookToMake = entry->issue.folder;
    return reply;
}

// The book of the newest complete issue of a source, under the issue's own
// file name, so one bookmark always brings the latest paper.
CatalogueReply latestReply(const QString& name, const CatalogueIndex& index) {
    const int source = name == QLatin1String("kp.epub") ? 1 : (name == "kt.epub" ? 2 : 0);
    for (const CatalogueEntry* entry : index.entries()) {
        if (entry->issue.source == source && entry->complete)
            return bookReply(entry->issue.name + ".epub", index);
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
CatalogueReply coverReply(const QString& name, const CatalogueIndex& index, bool thumbnail) {
    const CatalogueEntry* entry = issueNamed(name, index);
    const QString cover = entry ? IssueCoverFile(entry->issue) : QString();
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
CatalogueReply issueFileReply(const QByteArray& rest, const CatalogueIndex& index) {
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
    const CatalogueEntry* entry = issueNamed(names.takeFirst(), index);
    const QString folder = entry ? entry->issue.folder : QString();
    const QString file = folder + "/" + names.join('/');
    if (!entry || !QFileInfo(file).isFile() || !InsideFolder(file, folder))
        return StatusReply(404, "Not Found");
    return fileReply(file, issueFileType(file));
}

CatalogueReply feedReply(const std::optional<MadeFeed>& feed) {
    if (!feed)
        return StatusReply(404, "Not Found");
    return madeReply(feed->type + ";charset=utf-8", feed->body, feed->updated);
}

// The scheme and authority of the request's own address, when the Host
// header names one plainly; else nothing, and the search template is a
// path from the root.
QByteArray rootOf(const QByteArray& host) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9.:\\[\\]-]{1,255}$"));
    return plain.match(QString::fromLatin1(host)).hasMatch() ? "http://" + host : QByteArray();
}

CatalogueReply route(const QByteArray& path, const QUrlQuery& query, const QByteArray& host,
                     const CatalogueIndex& index) {
    const int page = query.hasQueryItem("page") ? query.queryItemValue("page").toInt() : 1;
    if (path == "/" || path == "/index.html") {
        const CatalogueEntries newest = index.entries().mid(0, BrowserPageIssues);
        return madeReply("text/html; charset=utf-8",
                         CataloguePage(newest, int(index.entries().size()), index.leftOut()),
                         NewestChange(index.entries()));
    }
    if (path == FeedPath || path.startsWith(QByteArray(FeedPath) + "/"))
        return feedReply(CatalogueFeed(index, path, page));
    if (path == SearchPath)
        return feedReply(SearchFeed(index, query.queryItemValue("q", QUrl::FullyDecoded), page));
    if (path == SearchDescriptionPath)
        return madeReply("application/opensearchdescription+xml; charset=utf-8",
                         SearchDescription(rootOf(host)),
                         QDateTime::fromSecsSinceEpoch(0, Qt::UTC));
    if (path.startsWith(IssuePath))
        return issueFileReply(path.mid(qstrlen(IssuePath)), index);
    for (const char* prefix : {BookPath, ThumbnailPath, CoverPath, LatestPath}) {
        if (!path.startsWith(prefix))
            continue;
        const std::optional<QString> name = nameAfter(path, prefix);
        if (!name)
            return StatusReply(400, "Bad Request");
        if (prefix == BookPath)
            return bookReply(*name, index);
        if (prefix == LatestPath)
            return latestReply(*name, index);
        return coverReply(*name, index, prefix == ThumbnailPath);
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
                                      CatalogueIndex& index, const QByteArray& host) {
    if (method != "GET" && method != "HEAD") {
        CatalogueReply reply = StatusReply(405, "Method Not Allowed");
        reply.extraHeaders = "Allow: GET, HEAD\r\n";
        return reply;
    }
    // Only paths from the root: an absolute address or anything else is not
    // a name in this catalogue.
    const qsizetype mark = target.indexOf('?');
    const QByteArray path = mark < 0 ? target : target.left(mark);
    // A form's "+" stands for a space.
    const QByteArray query = mark < 0 ? QByteArray() : target.mid(mark + 1).replace('+', "%20");
    CatalogueReply reply = StatusReply(400, "Bad Request");
    if (path.startsWith('/') && !path.contains("/../") && !path.endsWith("/..")) {
        index.refresh();
        reply = route(path, QUrlQuery(QString::fromLatin1(query)), host, index);
    }
    reply.headOnly = method == "HEAD";
    return reply;
}
