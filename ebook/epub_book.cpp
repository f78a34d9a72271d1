#include "ebook/epub_book.h"

#include "ebook/book_links.h"
#include "ebook/epub_archive.h"
#include "ebook/epub_package.h"
#include "ebook/html_document.h"
#include "processing/archive_issues.h"
#include "settings/whole_file.h"

#include <QFileInfo>
#include <memory>

namespace {

using Packing = EpubArchive::Packing;

struct BookPage {
    QString fileName; // in the issue folder: "index.htm", "page3.html"
    QByteArray id;    // in the package: "index", "page3"
    QString title;    // in the navigation document
    std::unique_ptr<HtmlDocument> html;

    QByteArray bookName() const { return id + ".xhtml"; }
};

std::unique_ptr<HtmlDocument> readPage(const QString& folder, const QString& fileName) {
    const QString path = folder + "/" + fileName;
    if (!QFileInfo(path).isFile() || !InsideFolder(path, folder))
        return nullptr;
    const std::optional<ByteText> bytes = ReadWholeFile(path);
    return bytes ? std::make_unique<HtmlDocument>(*bytes) : nullptr;
}

// The issue's index page, then every saved page once, in the index's order.
std::vector<BookPage> readPages(const ArchivedIssue& issue) {
    std::vector<BookPage> pages;
    pages.push_back({QStringLiteral("index.htm"), "index", QStringLiteral("Содержание номера"),
                     readPage(issue.folder, QStringLiteral("index.htm"))});
    QSet<int> taken;
    for (const IndexedPage& entry : issue.pages) {
        if (!entry.liveAddress.isEmpty() || taken.contains(entry.number))
            continue;
        const QString fileName = "page" + QString::number(entry.number) + ".html";
        auto html = readPage(issue.folder, fileName);
        if (!html)
            continue;
        taken.insert(entry.number);
        QString title = html::PlainText(entry.title);
        if (title.isEmpty())
            title = html->title();
        if (title.isEmpty())
            title = "Страница " + QString::number(entry.number);
        pages.push_back(
            {fileName, "page" + QByteArray::number(entry.number), title, std::move(html)});
    }
    return pages;
}

QList<ManifestItem> manifestOf(const std::vector<BookPage>& pages, const BookPictures& pictures,
                               const QByteArray& cover) {
    QList<ManifestItem> items;
    items.append({"nav", NavigationName, "application/xhtml+xml", "nav", false});
    items.append({"css", StylesheetName, "text/css", {}, false});
    for (const BookPage& page : pages)
        items.append({page.id, page.bookName(), "application/xhtml+xml", {}, true});
    int n = 0;
    for (const BookPicture& picture : pictures.pictures()) {
        const bool isCover = picture.bookName == cover;
        items.append({isCover ? QByteArray("cover") : "picture" + QByteArray::number(++n),
                      picture.bookName, picture.mediaType,
                      isCover ? QByteArray("cover-image") : QByteArray(), false});
    }
    return items;
}

struct BookFiles {
    QByteArray package, navigation;
    QList<QPair<QByteArray, QByteArray>> documents; // book name, text
};

bool writeBook(const QString& path, const BookFiles& files, const BookPictures& pictures,
               QString& error) {
    EpubArchive zip(path);
    const QByteArray folder = BookFolder;
    // Reading systems find the book's type in the first entry, uncompressed.
    bool ok = zip.add("mimetype", EpubMediaType, Packing::Stored) &&
              zip.add("META-INF/container.xml", ContainerDocument(), Packing::Compressed) &&
              zip.add(folder + "content.opf", files.package, Packing::Compressed) &&
              zip.add(folder + NavigationName, files.navigation, Packing::Compressed) &&
              zip.add(folder + StylesheetName, BookStylesheet(), Packing::Compressed);
    for (const auto& [name, text] : files.documents)
        ok = ok && zip.add(folder + name, text, Packing::Compressed);
    // JPEG data does not shrink any further; GIF and PNG from simple encoders
    // often do, a lot, and a quick deflate costs little.
    for (const BookPicture& picture : pictures.pictures()) {
        const Packing packing =
            picture.mediaType == "image/jpeg" ? Packing::Stored : Packing::Quick;
        ok = ok && (picture.converted.isEmpty()
                        ? zip.addFile(folder + picture.bookName, picture.file, packing)
                        : zip.add(folder + picture.bookName, picture.converted, packing));
    }
    ok = ok && zip.close();
    if (!ok)
        error = zip.error();
    return ok;
}

BookMetadata metadataOf(const ArchivedIssue& issue, const QDateTime& madeAt) {
    BookMetadata metadata;
    metadata.identifier = IssueIdentifier(issue);
    metadata.title = IssueTitle(issue);
    metadata.publisher = PublicationName(issue.source);
    metadata.date = issue.issueDate;
    metadata.modified = madeAt;
    return metadata;
}

} // namespace

EpubResult MakeEpub(const QString& issueFolder, const Sites& sites, const QDateTime& madeAt) {
    EpubResult result;
    const std::optional<ArchivedIssue> issue = ReadArchivedIssue(issueFolder);
    if (!issue) {
        result.error =
            "В папке " + issueFolder + " нет оглавления номера (index.htm), созданного программой.";
        return result;
    }
    result.path = EpubPathOf(issue->folder);
    std::vector<BookPage> pages = readPages(*issue);
    if (!pages.front().html) {
        result.error = "Не удалось прочитать оглавление номера " + issue->folder + "/index.htm.";
        return result;
    }

    BookPictures pictures;
    BookLinks links(issue->folder, issue->source == 2 ? sites.MagazineArchive : sites.Newspaper,
                    pictures);
    for (const BookPage& page : pages)
        links.addPage(page.fileName, page.bookName(), PageIds(*page.html));
    for (const IndexedPage& entry : issue->pages) {
        if (!entry.liveAddress.isEmpty())
            links.addMissingPage("page" + QString::number(entry.number) + ".html",
                                 cp1251::toUnicode(entry.liveAddress).toUtf8());
    }
    const QByteArray cover = pictures.add(IssueCoverFile(*issue));

    BookFiles files;
    QList<NavigationEntry> navigation;
    for (const BookPage& page : pages) {
        links.setCurrentPage(page.fileName);
        const QString title = page.html->title().isEmpty() ? page.title : page.html->title();
        files.documents.append(
            {page.bookName(), ContentDocument(title, ConvertPageBody(*page.html, links))});
        navigation.append({page.bookName(), page.title});
    }
    files.navigation = NavigationDocument(IssueTitle(*issue), navigation);
    files.package = PackageDocument(metadataOf(*issue, madeAt), manifestOf(pages, pictures, cover));

    QString error;
    if (!writeBook(result.path, files, pictures, error)) {
        result.error = "Не удалось записать книгу " + result.path + ": " + error;
        return result;
    }
    result.written = true;
    result.pages = int(pages.size()) - 1;
    result.pictures = int(pictures.pictures().size());
    return result;
}

QString BookMadeText(const EpubResult& book) {
    return QStringLiteral("Книга создана: %1 (страниц: %2, изображений: %3)")
        .arg(book.path)
        .arg(book.pages)
        .arg(book.pictures);
}

QString BookMessageTitle() {
    return QStringLiteral("Книга для читалки");
}
