#include "ebook/epub_package.h"

#include "ebook/xhtml_writer.h"

namespace {

QByteArray escaped(const QString& text) {
    return EscapeXml(text.toUtf8(), true);
}

QByteArray documentStart(const QString& title) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE html>\n"
           "<html xmlns=\"http://www.w3.org/1999/xhtml\" "
           "xmlns:epub=\"http://www.idpf.org/2007/ops\" xml:lang=\"ru\" lang=\"ru\">\n"
           "<head>\n<meta charset=\"UTF-8\"/>\n<title>" +
           escaped(title) + "</title>\n<link rel=\"stylesheet\" type=\"text/css\" href=\"" +
           StylesheetName + "\"/>\n</head>\n";
}

QByteArray metadataOf(const BookMetadata& m) {
    QByteArray xml = "<metadata xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n"
                     "<dc:identifier id=\"issue-id\">" +
                     escaped(m.identifier) + "</dc:identifier>\n<dc:title>" + escaped(m.title) +
                     "</dc:title>\n<dc:language>ru</dc:language>\n";
    if (m.date.isValid())
        xml += "<dc:date>" + m.date.toString(Qt::ISODate).toLatin1() + "</dc:date>\n";
    xml += "<dc:publisher>" + escaped(m.publisher) + "</dc:publisher>\n";
    xml += "<meta property=\"dcterms:modified\">" +
           m.modified.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ")).toLatin1() +
           "</meta>\n";
    return xml;
}

} // namespace

QByteArray ContainerDocument() {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<container version=\"1.0\" xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\">\n"
           "<rootfiles>\n<rootfile full-path=\"" +
           QByteArray(BookFolder) +
           "content.opf\" media-type=\"application/oebps-package+xml\"/>\n"
           "</rootfiles>\n</container>\n";
}

QByteArray ContentDocument(const QString& title, const QByteArray& body) {
    return documentStart(title) + "<body>\n" + body + "\n</body>\n</html>\n";
}

QByteArray NavigationDocument(const QString& title, const QList<NavigationEntry>& entries) {
    QByteArray list;
    for (const NavigationEntry& entry : entries)
        list += "<li><a href=\"" + EscapeXml(entry.href, true) + "\">" + escaped(entry.title) +
                "</a></li>\n";
    return documentStart(title) + "<body>\n<nav epub:type=\"toc\" id=\"toc\">\n<h1>" +
           escaped(title) + "</h1>\n<ol>\n" + list + "</ol>\n</nav>\n</body>\n</html>\n";
}

QByteArray PackageDocument(const BookMetadata& metadata, const QList<ManifestItem>& items) {
    QByteArray manifest, spine, coverMeta;
    for (const ManifestItem& item : items) {
        manifest += "<item id=\"" + item.id + "\" href=\"" + EscapeXml(item.href, true) +
                    "\" media-type=\"" + item.mediaType + "\"";
        if (!item.properties.isEmpty())
            manifest += " properties=\"" + item.properties + "\"";
        manifest += "/>\n";
        if (item.inSpine)
            spine += "<itemref idref=\"" + item.id + "\"/>\n";
        // Readers of the older book format find the cover by this entry.
        if (item.properties == "cover-image")
            coverMeta = "<meta name=\"cover\" content=\"" + item.id + "\"/>\n";
    }
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<package xmlns=\"http://www.idpf.org/2007/opf\" version=\"3.0\" "
           "unique-identifier=\"issue-id\" xml:lang=\"ru\">\n" +
           metadataOf(metadata) + coverMeta + "</metadata>\n<manifest>\n" + manifest +
           "</manifest>\n<spine>\n" + spine + "</spine>\n</package>\n";
}

QByteArray BookStylesheet() {
    // Sizes relative to the reader's own font, which the reader chooses.
    return "body { margin: 0 0.4em; line-height: 1.4; }\n"
           "h1 { font-size: 1.4em; margin: 0.6em 0 0.4em 0; }\n"
           "h2 { font-size: 1.2em; margin: 0.8em 0 0.4em 0; }\n"
           "h3, h4, h5, h6 { font-size: 1.05em; margin: 0.8em 0 0.3em 0; }\n"
           "p { margin: 0.4em 0; text-align: justify; }\n"
           "img { max-width: 100%; height: auto; }\n"
           "table { border-collapse: collapse; }\n"
           "td, th { padding: 0.2em 0.4em; vertical-align: top; }\n"
           "blockquote { margin: 0.6em 0 0.6em 1em; }\n"
           ".date { font-weight: bold; margin: 0.4em 0; }\n"
           ".small, .author, .caption, .bottom { font-size: 0.85em; }\n"
           ".caption { font-style: italic; }\n"
           ".annot { font-style: italic; }\n"
           "a.error { color: #b01818; }\n"
           ".nav { margin-top: 1em; }\n";
}
