#include "archive/catalogue_feed.h"

#include "processing/book_pictures.h"
#include "processing/xhtml_writer.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace {

// The record a download keeps in an issue folder until every page is saved.
const QString UnfinishedRecord = QStringLiteral(".norvel-pages");

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

// The entry's text for readers that show one: date, number, pages saved.
QString entryContent(const ArchivedIssue& issue) {
    QStringList parts;
    if (issue.dateText != "date invalid")
        parts << QStringLiteral("Номер от ") + cp1251::toUnicode(issue.dateText);
    if (issue.number != "not found")
        parts << QStringLiteral("№ ") + cp1251::toUnicode(issue.number);
    parts << QStringLiteral("страниц: %1").arg(savedPages(issue));
    return parts.join(QStringLiteral(", ")) + ".";
}

QByteArray link(const QByteArray& rel, const QByteArray& type, const QByteArray& href) {
    return "<link rel=\"" + rel + "\" type=\"" + type + "\" href=\"" + href + "\"/>\n";
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
    xml += "<content type=\"text\">" + x(entryContent(issue)) + "</content>\n";
    xml += link("alternate", "text/html", IssuePath + folder + "/index.htm");
    xml += link(AcquisitionRel, "application/epub+zip", bookHref(entry));
    if (!entry.coverType.isEmpty()) {
        xml += link(ImageRel, entry.coverType, CoverPath + folder);
        xml += link(ThumbnailRel, "image/png", ThumbnailPath + folder);
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
        entry.bookChanged = WholeSeconds(info.lastModified());
        entry.complete = !QFileInfo::exists(issue.folder + "/" + UnfinishedRecord);
        const QString cover = IssueCoverFile(issue);
        entry.coverType = cover.isEmpty() ? QByteArray() : CoverMediaType(cover);
        entries.append(entry);
    }
    return entries;
}

QDateTime NewestChange(const QList<CatalogueEntry>& entries) {
    QDateTime newest = QDateTime::fromSecsSinceEpoch(0, Qt::UTC);
    for (const CatalogueEntry& entry : entries)
        newest = qMax(newest, entry.bookChanged);
    return newest;
}

QByteArray OpdsFeed(const QList<CatalogueEntry>& entries, const QByteArray& id,
                    const QString& title, const QByteArray& self) {
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<feed xmlns=\"http://www.w3.org/2005/Atom\" "
                     "xmlns:dc=\"http://purl.org/dc/terms/\" "
                     "xmlns:opds=\"" +
                     OpdsNamespace + "2010/catalog\">\n<id>" + x(QString::fromUtf8(id)) +
                     "</id>\n<title>" + x(title) + "</title>\n<updated>" +
                     atomTime(NewestChange(entries)) + "</updated>\n<author><name>" +
                     x(QStringLiteral("Норвел")) + "</name></author>\n" +
                     link("self", AcquisitionFeedType, x(QString::fromUtf8(self))) +
                     link("start", AcquisitionFeedType, FeedPath) +
                     link("search", "application/opensearchdescription+xml", SearchDescriptionPath);
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

QByteArray SearchDescription(const QByteArray& root) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<OpenSearchDescription xmlns=\"http://a9.com/-/spec/opensearch/1.1/\">\n"
           "<ShortName>" +
           x(QStringLiteral("Норвел")) + "</ShortName>\n<Description>" +
           x(QStringLiteral("Номер по дате (2026-02-03, 03.02.2026, 2026-02) или по номеру")) +
           "</Description>\n<InputEncoding>UTF-8</InputEncoding>\n"
           "<OutputEncoding>UTF-8</OutputEncoding>\n<Url type=\"" +
           AcquisitionFeedType + "\" template=\"" + root + SearchPath +
           "?q={searchTerms}\"/>\n</OpenSearchDescription>\n";
}

QDateTime WholeSeconds(const QDateTime& time) {
    return QDateTime::fromSecsSinceEpoch(time.toSecsSinceEpoch(), Qt::UTC);
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
