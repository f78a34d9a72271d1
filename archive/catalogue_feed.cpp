#include "archive/catalogue_feed.h"

#include "processing/book_pictures.h"
#include "processing/xhtml_writer.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace {

QByteArray x(const QString& text) {
    return EscapeXml(text.toUtf8(), true);
}

QByteArray atomTime(const QDateTime& time) {
    return time.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ")).toLatin1();
}

QByteArray bookHref(const CatalogueEntry& entry) {
    return BookPath + PathSegment(entry.issue.name + ".epub");
}

int savedPages(const ArchivedIssue& issue) {
    int n = 0;
    for (const IndexedPage& page : issue.pages)
        n += page.liveAddress.isEmpty() ? 1 : 0;
    return n;
}

QByteArray feedEntry(const CatalogueEntry& entry) {
    const ArchivedIssue& issue = entry.issue;
    const QByteArray folder = PathSegment(issue.name);
    QByteArray xml = "<entry>\n<title>" + x(IssueTitle(issue)) + "</title>\n<id>" +
                     x(IssueIdentifier(issue)) + "</id>\n<updated>" + atomTime(entry.bookChanged) +
                     "</updated>\n<author><name>" + x(PublicationName(issue.source)) +
                     "</name></author>\n<dc:language>ru</dc:language>\n<dc:publisher>" +
                     x(PublicationName(issue.source)) + "</dc:publisher>\n";
    if (issue.issueDate.isValid())
        xml += "<dc:issued>" + issue.issueDate.toString(Qt::ISODate).toLatin1() + "</dc:issued>\n";
    xml += "<summary type=\"text\">" + x(QStringLiteral("Страниц: %1").arg(savedPages(issue))) +
           "</summary>\n";
    xml += "<link rel=\"" + AcquisitionRel + "\" type=\"application/epub+zip\" href=\"" +
           bookHref(entry) + "\"/>\n";
    if (!entry.coverType.isEmpty()) {
        xml += "<link rel=\"" + ImageRel + "\" type=\"" + entry.coverType + "\" href=\"" +
               QByteArray(CoverPath) + folder + "\"/>\n";
        xml += "<link rel=\"" + ThumbnailRel + "\" type=\"image/png\" href=\"" +
               QByteArray(ThumbnailPath) + folder + "\"/>\n";
    }
    return xml + "</entry>\n";
}

} // namespace

QList<CatalogueEntry> CatalogueEntries(const QString& downloadFolder) {
    QList<CatalogueEntry> entries;
    for (const ArchivedIssue& issue : ListArchivedIssues(downloadFolder)) {
        const QString book = EpubPathOf(issue.folder);
        const QFileInfo info(book);
        if (!info.isFile() || !InsideFolder(book, downloadFolder))
            continue;
        CatalogueEntry entry;
        entry.issue = issue;
        entry.bookChanged = info.lastModified();
        const QString cover = IssueCoverFile(issue);
        entry.coverType = cover.isEmpty() ? QByteArray() : CoverMediaType(cover);
        entries.append(entry);
    }
    return entries;
}

QByteArray OpdsFeed(const QList<CatalogueEntry>& entries, const QDateTime& now) {
    const QByteArray kind = "application/atom+xml;profile=opds-catalog;kind=acquisition";
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<feed xmlns=\"http://www.w3.org/2005/Atom\" "
                     "xmlns:dc=\"http://purl.org/dc/terms/\" "
                     "xmlns:opds=\"" +
                     OpdsNamespace + "2010/catalog\">\n<id>urn:norvel:catalogue</id>\n<title>" +
                     x(QStringLiteral("Норвел: архив номеров")) + "</title>\n<updated>" +
                     atomTime(now) + "</updated>\n<author><name>" + x(QStringLiteral("Норвел")) +
                     "</name></author>\n<link rel=\"self\" type=\"" + kind + "\" href=\"" +
                     FeedPath + "\"/>\n<link rel=\"start\" type=\"" + kind + "\" href=\"" +
                     FeedPath + "\"/>\n";
    for (const CatalogueEntry& entry : entries)
        xml += feedEntry(entry);
    return xml + "</feed>\n";
}

QByteArray CataloguePage(const QList<CatalogueEntry>& entries, int withoutBook) {
    QByteArray page = "<!DOCTYPE html>\n<html lang=\"ru\">\n<head>\n<meta charset=\"utf-8\">\n"
                      "<meta name=\"viewport\" content=\"width=device-width\">\n<title>" +
                      x(QStringLiteral("Норвел: архив номеров")) +
                      "</title>\n</head>\n<body>\n<h1>" + x(QStringLiteral("Архив номеров")) +
                      "</h1>\n<p>" + x(QStringLiteral("Каталог для читалок (OPDS): ")) +
                      "<a href=\"" + FeedPath + "\">" + FeedPath + "</a></p>\n";
    if (entries.isEmpty())
        page += "<p>" + x(QStringLiteral("Книг пока нет.")) + "</p>\n";
    page += "<ul>\n";
    for (const CatalogueEntry& entry : entries) {
        page += "<li>";
        if (!entry.coverType.isEmpty())
            page += "<img src=\"" + QByteArray(ThumbnailPath) + PathSegment(entry.issue.name) +
                    "\" alt=\"\" height=\"80\"> ";
        page += "<a href=\"" + bookHref(entry) + "\">" + x(IssueTitle(entry.issue)) + "</a></li>\n";
    }
    page += "</ul>\n";
    if (withoutBook > 0)
        page += "<p>" +
                x(QStringLiteral("Номеров без книги: %1. Книгу номера создаёт norvel2 --epub "
                                 "ПАПКА, а после каждой загрузки — настройка MakeEpub.")
                      .arg(withoutBook)) +
                "</p>\n";
    return page + "</body>\n</html>\n";
}

QByteArray CoverMediaType(const QString& coverFile) {
    QFile file(coverFile);
    const QByteArray type =
        PictureMediaType(file.open(QIODevice::ReadOnly) ? file.read(16) : QByteArray());
    return type.isEmpty() ? QByteArray("image/png") : type;
}

QByteArray PathSegment(const QString& name) {
    return QUrl::toPercentEncoding(name);
}
