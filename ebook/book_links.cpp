#include "ebook/book_links.h"

#include "processing/archive_issues.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {

bool isOutsideScheme(const QString& scheme) {
    return scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
           scheme == QLatin1String("ftp") || scheme == QLatin1String("mailto");
}

} // namespace

BookLinks::BookLinks(const QString& issueFolder, const QByteArray& siteHost, BookPictures& pictures)
    : folder_(issueFolder), siteHost_(siteHost), pictures_(pictures) {}

void BookLinks::addPage(const QString& fileName, const QByteArray& bookName,
                        const QSet<QByteArray>& ids) {
    pages_.insert(fileName.toLower(), Page{bookName, ids});
}

void BookLinks::addMissingPage(const QString& fileName, const QByteArray& liveAddress) {
    missing_.insert(fileName.toLower(), liveAddress);
}

void BookLinks::setCurrentPage(const QString& fileName) {
    current_ = fileName.toLower();
}

QByteArray BookLinks::pageLink(const Page& page, const QString& fragment) const {
    const QByteArray id = BookId(fragment.toUtf8());
    return page.ids.contains(id) ? page.bookName + "#" + id : page.bookName;
}

QByteArray BookLinks::outsideLink(const QString& href) const {
    const QUrl url(href, QUrl::TolerantMode);
    const bool needsHost = url.scheme() != QLatin1String("mailto");
    if (!url.isValid() || (needsHost && url.host().isEmpty()))
        return {};
    return url.toEncoded();
}

QString BookLinks::pathInside(const QString& path) {
    if (path.isEmpty() || path.startsWith('/'))
        return {};
    const QString clean = QDir::cleanPath(path);
    if (clean == QLatin1String("..") || clean.startsWith(QLatin1String("../")) ||
        clean == QLatin1String("."))
        return {};
    return clean;
}

QByteArray BookLinks::linkTarget(const QByteArray& href) {
    const QString text = QString::fromUtf8(href);
    if (text.isEmpty())
        return {};
    if (text.startsWith('#')) {
        const auto page = pages_.constFind(current_);
        if (page == pages_.constEnd())
            return {};
        const QByteArray id = BookId(QUrl::fromPercentEncoding(href.mid(1)).toUtf8());
        return page->ids.contains(id) ? "#" + id : QByteArray();
    }
    if (text.startsWith(QLatin1String("//")))
        return outsideLink("http:" + text);
    if (text.startsWith('/'))
        return siteHost_.isEmpty() ? QByteArray()
                                   : outsideLink("http://" + QString::fromUtf8(siteHost_) + text);
    const QUrl url(text, QUrl::TolerantMode);
    const QString scheme = url.scheme().toLower();
    if (!scheme.isEmpty())
        return isOutsideScheme(scheme) ? outsideLink(text) : QByteArray();
    const QString path = pathInside(url.path()).toLower();
    if (auto page = pages_.constFind(path); page != pages_.constEnd())
        return pageLink(*page, url.fragment());
    if (auto live = missing_.constFind(path); live != missing_.constEnd())
        return outsideLink(QString::fromUtf8(*live));
    return {};
}

QByteArray BookLinks::pictureTarget(const QByteArray& src) {
    const QUrl url(QString::fromUtf8(src), QUrl::TolerantMode);
    if (!url.scheme().isEmpty() || src.startsWith('/'))
        return {};
    const QString path = pathInside(url.path());
    if (path.isEmpty())
        return {};
    const QString file = folder_ + "/" + path;
    // A picture reached through a link from outside the issue stays out.
    if (!InsideFolder(file, folder_))
        return {};
    return pictures_.add(file);
}
