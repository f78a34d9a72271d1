#include "catalogue/feed.h"

#include "ebook/book_pictures.h"
#include "ebook/xhtml_writer.h"

#include <QFile>
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

// The entry's text for readers that show one: date, number, pages saved.
QString entryContent(const CatalogueEntry& entry) {
    const ArchivedIssue& issue = entry.issue;
    QStringList parts;
    if (issue.dateText != "date invalid")
        parts << QStringLiteral("Номер от ") + cp1251::toUnicode(issue.dateText);
    if (issue.number != "not found")
        parts << QStringLiteral("№ ") + cp1251::toUnicode(issue.number);
    parts << QStringLiteral("страниц: %1").arg(entry.savedPages);
    return parts.join(QStringLiteral(", ")) + ".";
}

QByteArray link(const QByteArray& rel, const QByteArray& type, const QByteArray& href) {
    return "<link rel=\"" + rel + "\" type=\"" + type + "\" href=\"" + href + "\"/>\n";
}

// The feed's own elements: who and when, and the links that place it in
// the catalogue.
QByteArray feedOpening(const FeedHead& head, const QByteArray& type) {
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<feed xmlns=\"http://www.w3.org/2005/Atom\" "
                     "xmlns:dc=\"http://purl.org/dc/terms/\" "
                     "xmlns:opds=\"" +
                     OpdsNamespace + "2010/catalog\">\n<id>" + x(QString::fromUtf8(head.id)) +
                     "</id>\n<title>" + x(head.title) + "</title>\n<updated>" +
                     atomTime(head.updated) + "</updated>\n<author><name>" +
                     x(QStringLiteral("Норвел")) + "</name></author>\n" +
                     link("self", type, x(QString::fromUtf8(head.self))) +
                     link("start", NavigationFeedType, FeedPath);
    if (!head.up.isEmpty())
        xml += link("up", NavigationFeedType, x(QString::fromUtf8(head.up)));
    const std::pair<const char*, QByteArray> pages[] = {{"first", head.first},
                                                        {"previous", head.previous},
                                                        {"next", head.next},
                                                        {"last", head.last}};
    for (const auto& [rel, href] : pages) {
        if (!href.isEmpty())
            xml += link(rel, type, x(QString::fromUtf8(href)));
    }
    return xml + link("search", "application/opensearchdescription+xml", SearchDescriptionPath);
}

QByteArray feedEntry(const CatalogueEntry& entry, const QList<MatchedPage>& pages) {
    const ArchivedIssue& issue = entry.issue;
    const QByteArray folder = PathSegment(issue.name);
    QByteArray xml = "<entry>\n<title>" + x(IssueTitle(issue)) + "</title>\n<id>" +
                     x(IssueIdentifier(issue)) + "</id>\n<updated>" + atomTime(entry.changed) +
                     "</updated>\n<author><name>" + x(PublicationName(issue.source)) +
                     "</name></author>\n<dc:language>ru</dc:language>\n<dc:publisher>" +
                     x(PublicationName(issue.source)) + "</dc:publisher>\n";
    if (issue.issueDate.isValid())
        xml += "<dc:issued>" + issue.issueDate.toString(Qt::ISODate).toLatin1() + "</dc:issued>\n";
    xml += "<content type=\"text\">" + x(entryContent(entry)) + "</content>\n";
    xml += link("alternate", "text/html", IssuePath + folder + "/index.htm");
    for (const MatchedPage& page : pages)
        xml += QByteArray("<link rel=\"related\" type=\"text/html\" href=\"") + IssuePath + folder +
               "/" + PathSegment(page.file) + "\" title=\"" + x(page.title) + "\"/>\n";
    xml += link(AcquisitionRel, "application/epub+zip", bookHref(entry));
    if (!entry.coverType.isEmpty()) {
        xml += link(ImageRel, entry.coverType, CoverPath + folder);
        xml += link(ThumbnailRel, "image/png", ThumbnailPath + folder);
    }
    return xml + "</entry>\n";
}

} // namespace

QDateTime NewestChange(const CatalogueEntries& entries) {
    QDateTime newest = QDateTime::fromSecsSinceEpoch(0, Qt::UTC);
    for (const CatalogueEntry* entry : entries)
        newest = qMax(newest, entry->changed);
    return newest;
}

QByteArray AcquisitionFeed(const FeedHead& head, const CatalogueEntries& entries,
                           const MatchedPages& pages) {
    QByteArray xml = feedOpening(head, AcquisitionFeedType);
    for (const CatalogueEntry* entry : entries)
        xml += feedEntry(*entry, pages.value(entry));
    return xml + "</feed>\n";
}

QByteArray NavigationFeed(const FeedHead& head, const QList<FeedWay>& entries) {
    QByteArray xml = feedOpening(head, NavigationFeedType);
    for (const FeedWay& entry : entries)
        xml += "<entry>\n<title>" + x(entry.title) +
               "</title>\n<id>urn:norvel:" + x(QString::fromUtf8(entry.href)) + "</id>\n<updated>" +
               atomTime(entry.updated) + "</updated>\n<content type=\"text\">" + x(entry.content) +
               "</content>\n" + link(entry.rel, entry.type, x(QString::fromUtf8(entry.href))) +
               "</entry>\n";
    return xml + "</feed>\n";
}

QByteArray CataloguePage(const CatalogueEntries& newest, int total, int leftOut) {
    QByteArray page = "<!DOCTYPE html>\n<html lang=\"ru\">\n<head>\n<meta charset=\"utf-8\">\n"
                      "<meta name=\"viewport\" content=\"width=device-width\">\n<title>" +
                      x(QStringLiteral("Норвел: архив номеров")) +
                      "</title>\n</head>\n<body>\n<h1>" + x(QStringLiteral("Архив номеров")) +
                      "</h1>\n<p>" + x(QStringLiteral("Каталог для читалок (OPDS): ")) +
                      "<a href=\"" + FeedPath + "\">" + FeedPath + "</a></p>\n";
    if (newest.isEmpty())
        page += "<p>" + x(QStringLiteral("Номеров пока нет.")) + "</p>\n";
    else if (newest.size() < total)
        page += "<p>" +
                x(QStringLiteral("Новейшие %1 из %2; весь архив — в каталоге для читалок.")
                      .arg(newest.size())
                      .arg(total)) +
                "</p>\n";
    page += "<ul>\n";
    for (const CatalogueEntry* entry : newest) {
        page += "<li>";
        if (!entry->coverType.isEmpty())
            page += "<img src=\"" + QByteArray(ThumbnailPath) + PathSegment(entry->issue.name) +
                    "\" alt=\"\" height=\"80\"> ";
        page +=
            "<a href=\"" + bookHref(*entry) + "\">" + x(IssueTitle(entry->issue)) + "</a></li>\n";
    }
    page += "</ul>\n";
    if (leftOut > 0)
        page += "<p>" +
                x(QStringLiteral("Номеров, загруженных не полностью и без книги: %1. Книгу такого "
                                 "номера создаёт norvel2 --epub ПАПКА.")
                      .arg(leftOut)) +
                "</p>\n";
    return page + "</body>\n</html>\n";
}

QByteArray SearchDescription(const QByteArray& root) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<OpenSearchDescription xmlns=\"http://a9.com/-/spec/opensearch/1.1/\">\n"
           "<ShortName>" +
           x(QStringLiteral("Норвел")) + "</ShortName>\n<Description>" +
           x(QStringLiteral("Номер по дате (2026-02-03, 03.02.2026, 2026-02), по номеру или "
                            "по словам в тексте статей")) +
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
