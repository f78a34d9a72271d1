// The catalogue's answers, apart from sockets: an Atom feed listing the
// issues with books newest first whose links lead to the files, the page for
// a browser, and refusals of everything that could reach out of the
// download folder or change anything.
#include "catalogue/feed.h"
#include "catalogue/http.h"
#include "tests/support/issue_folders.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct Catalogue {
    QTemporaryDir root;
    QString download = root.path() + "/Download";

    Catalogue() {
        MakeIssueFolder(download, "2026.02.03", QDate(2026, 2, 3), "24003", 1, {}, true);
        MakeIssueFolder(download, "2026.02.10.KT", QDate(2026, 2, 10), "701", 1, {}, true);
        WriteFile(download, "2026.02.10.KT/img/cover.jpg", PngPicture());
        MakeIssueFolder(download, "2026.02.01", QDate(2026, 2, 1), "24001", 1, {}, true);
        MakeIssueFolder(download, "2026.02.04", QDate(2026, 2, 4), "24004", 1, {}, false);
        // An issue whose book is a link to a file outside the download folder.
        MakeIssueFolder(download, "2026.02.05", QDate(2026, 2, 5), "24005");
        WriteFile(root.path(), "secret.epub", "secret");
        QFile::link(root.path() + "/secret.epub", download + "/2026.02.05.epub");
        WriteFile(root.path(), "outside.epub", "outside");
    }
    // Read on the first request and followed from then on, as the server does.
    mutable std::unique_ptr<CatalogueIndex> index;
    CatalogueReply get(const QByteArray& target, const QByteArray& method = "GET",
                       const QByteArray& host = {}) const {
        if (!index)
            index = std::make_unique<CatalogueIndex>(download);
        return AnswerCatalogueRequest(method, target, *index, host);
    }
};

struct FeedEntry {
    QString title;
    QString content;
    QMap<QString, QString> links; // rel → href
    QMap<QString, QString> types; // rel → type
};

// The entries of an Atom feed; false through ok when it is no Atom feed.
QList<FeedEntry> readFeed(const QByteArray& xml, bool& ok) {
    QList<FeedEntry> entries;
    QXmlStreamReader reader(xml);
    ok = reader.readNextStartElement() && reader.name() == QLatin1String("feed") &&
         reader.namespaceUri() == QLatin1String("http://www.w3.org/2005/Atom");
    while (ok && !reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (reader.name() == QLatin1String("entry"))
            entries.append(FeedEntry{});
        else if (reader.name() == QLatin1String("title") && !entries.isEmpty())
            entries.last().title = reader.readElementText();
        else if (reader.name() == QLatin1String("content") && !entries.isEmpty())
            entries.last().content = reader.readElementText();
        else if (reader.name() == QLatin1String("link") && !entries.isEmpty()) {
            const QString rel = reader.attributes().value("rel").toString();
            entries.last().links.insert(rel, reader.attributes().value("href").toString());
            entries.last().types.insert(rel, reader.attributes().value("type").toString());
        }
    }
    ok = ok && !reader.hasError();
    return entries;
}

const QString Acquisition = QString::fromLatin1(AcquisitionRel);
const QString Cover = QString::fromLatin1(ImageRel);
const QString Thumbnail = QString::fromLatin1(ThumbnailRel);

} // namespace

TEST(Catalogue, TheNewestFeedListsCompleteIssuesNewestFirstAndItsLinksWork) {
    Catalogue c;
    const CatalogueReply feed = c.get("/opds/new");
    EXPECT_EQ(feed.status, 200);
    EXPECT_TRUE(feed.contentType.startsWith("application/atom+xml;profile=opds-catalog"));
    bool atom = false;
    const QList<FeedEntry> entries = readFeed(feed.body, atom);
    ASSERT_TRUE(atom) << feed.body.toStdString();
    QStringList titles;
    for (const FeedEntry& entry : entries)
        titles << entry.title.section(' ', 0, 2);
    EXPECT_EQ(titles, (QStringList{"Зенитра № 701", "Ведомир № 24005", "Ведомир № 24004",
                                   "Ведомир № 24003", "Ведомир № 24001"}));
    for (const FeedEntry& entry : entries) {
        EXPECT_EQ(entry.types.value(Acquisition), "application/epub+zip");
        const QByteArray href = entry.links.value(Acquisition).toUtf8();
        const CatalogueReply book = c.get(href);
        if (href.contains("24004") || href.contains("2026.02.04")) {
            EXPECT_EQ(book.bookToMake, c.download + "/2026.02.04") << "made on request";
        } else if (href.contains("2026.02.05")) {
            EXPECT_EQ(book.status, 404) << "its book is a link out of the download folder";
        } else {
            EXPECT_EQ(book.status, 200) << href.toStdString();
            EXPECT_EQ(book.contentType, "application/epub+zip");
            EXPECT_TRUE(book.file.startsWith(c.download + "/"));
            EXPECT_EQ(book.size, 4);
        }
        const CatalogueReply cover = c.get(entry.links.value(Cover).toUtf8());
        EXPECT_EQ(cover.status, 200);
        EXPECT_EQ(cover.contentType, entry.types.value(Cover));
        const CatalogueReply thumbnail = c.get(entry.links.value(Thumbnail).toUtf8());
        EXPECT_EQ(thumbnail.contentType, "image/png");
        EXPECT_FALSE(QImage::fromData(thumbnail.body).isNull());
    }

    const CatalogueReply page = c.get("/");
    EXPECT_EQ(page.contentType, "text/html; charset=utf-8");
    EXPECT_TRUE(page.body.contains("<a href=\"/epub/2026.02.10.KT.epub\">Зенитра № 701"));
}

TEST(Catalogue, RefusesToReachOutOfTheDownloadFolder) {
    Catalogue c;
    for (const QByteArray& target :
         {QByteArray("/epub/../outside.epub"), QByteArray("/epub/..%2Foutside.epub"),
          QByteArray("/epub/%2e%2e"), QByteArray("/epub//etc/passwd"),
          QByteArray("/epub/%2Fetc%2Fpasswd"), QByteArray("/cover/..\\..\\secret.epub"),
          QByteArray("/../secret.epub"), QByteArray("http://localhost/opds"),
          QByteArray("../secret.epub")}) {
        const CatalogueReply reply = c.get(target);
        EXPECT_EQ(reply.status, 400) << target.toStdString();
        EXPECT_TRUE(reply.file.isEmpty());
    }
    for (const QByteArray& target :
         {QByteArray("/epub/2026.02.05.epub"), QByteArray("/secret.epub"),
          QByteArray("/etc/passwd"), QByteArray("/epub/notes")}) {
        const CatalogueReply reply = c.get(target);
        EXPECT_EQ(reply.status, 404) << target.toStdString();
        EXPECT_TRUE(reply.file.isEmpty());
        EXPECT_FALSE(reply.body.contains("secret"));
    }
}

// Hidden files are the program's own bookkeeping (a page record, the hidden
// file of a write in progress) or the user's: none is served, under any
// path, there or not, and a hidden issue folder is no issue of the feed.
TEST(Catalogue, NeverServesAHiddenFile) {
    Catalogue c;
    MakeIssueFolder(c.download, ".2026.02.06", QDate(2026, 2, 6), "24006", 1, {}, true);
    WriteFile(c.download, "2026.02.03/.norvel-pages", "1\t24\t/x\n");
    WriteFile(c.download, ".2026.02.03.epub.norvel-part", "half a book");
    for (const QByteArray& target :
         {QByteArray("/epub/.2026.02.06.epub"), QByteArray("/epub/%2e2026.02.06.epub"),
          QByteArray("/cover/.2026.02.06"), QByteArray("/thumbnail/.2026.02.06"),
          QByteArray("/epub/.2026.02.03.epub.norvel-part"), QByteArray("/epub/.missing.epub"),
          QByteArray("/.norvel-pages"), QByteArray("/2026.02.03/.norvel-pages"),
          QByteArray("/epub/2026.02.03/.norvel-pages"), QByteArray("/.index.htm.norvel-part"),
          QByteArray("/issue/2026.02.03/.norvel-pages"), QByteArray("/issue/.2026.02.06/index.htm"),
          QByteArray("/issue/2026.02.03/../../secret.epub"), QByteArray("/latest/.kp.epub"),
          QByteArray("/issue/2026.02.03/..%2F2026.02.04/index.htm")}) {
        const CatalogueReply reply = c.get(target);
        EXPECT_TRUE(reply.status == 400 || reply.status == 404)
            << target.toStdString() << " " << reply.status;
        EXPECT_TRUE(reply.file.isEmpty()) << target.toStdString();
        EXPECT_FALSE(reply.body.contains("half")) << target.toStdString();
    }
    EXPECT_FALSE(c.get("/opds/new").body.contains("24006"));
    EXPECT_EQ(c.get("/epub/2026.02.03.epub").status, 200);
}

TEST(Catalogue, AnswersHeadAndGetOnly) {
    Catalogue c;
    const CatalogueReply head = c.get("/epub/2026.02.03.epub", "HEAD");
    EXPECT_EQ(head.status, 200);
    EXPECT_TRUE(head.headOnly);
    EXPECT_EQ(head.size, 4);
    for (const char* method : {"POST", "PUT", "DELETE", "OPTIONS"}) {
        const CatalogueReply reply = c.get("/epub/2026.02.03.epub", method);
        EXPECT_EQ(reply.status, 405);
        EXPECT_TRUE(ReplyHeader(reply).contains("\r\nAllow: GET, HEAD\r\n"));
    }
    EXPECT_TRUE(QFile::exists(c.download + "/2026.02.03.epub"));
}

namespace {

CatalogueReply conditional(const Catalogue& c, const QByteArray& target,
                           const QList<std::pair<QByteArray, QByteArray>>& headers) {
    QByteArray head = "GET " + target + " HTTP/1.1\r\n";
    for (const auto& [name, value] : headers)
        head += name + ": " + value + "\r\n";
    const std::optional<CatalogueRequest> request = ParseRequestHead(head + "\r\n");
    return request ? ApplyConditions(*request, c.get(target)) : CatalogueReply{};
}

void setBookTime(const QString& book, const QDateTime& time) {
    QFile file(book);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(time, QFileDevice::FileModificationTime));
}

} // namespace

// A reader asks again with what it holds: the same bytes get 304, a cut
// book gets the rest with 206, a range past the end 416, and a range for a
// book that changed since gets the whole new book.
TEST(Catalogue, AnswersConditionsAndRangesAsReadersAskThem) {
    Catalogue c;
    WriteFile(c.download, "2026.02.03.epub", "0123456789");
    for (const QByteArray& target :
         {QByteArray("/epub/2026.02.03.epub"), QByteArray("/opds"), QByteArray("/"),
          QByteArray("/thumbnail/2026.02.03"), QByteArray("/issue/2026.02.03/index.htm")}) {
        const CatalogueReply first = c.get(target);
        ASSERT_EQ(first.status, 200) << target.toStdString();
        EXPECT_TRUE(first.etag.startsWith('"') && first.etag.endsWith('"'));
        EXPECT_TRUE(ReplyHeader(first).contains("\r\nLast-Modified: "));
        EXPECT_EQ(conditional(c, target, {{"If-None-Match", "\"x\", " + first.etag}}).status, 304);
        EXPECT_EQ(
            conditional(c, target, {{"If-Modified-Since", HttpDate(first.lastModified)}}).status,
            304)
            << target.toStdString();
        EXPECT_EQ(conditional(c, target, {{"If-None-Match", "\"other\""}}).status, 200);
        EXPECT_EQ(conditional(c, target,
                              {{"If-Modified-Since", HttpDate(first.lastModified.addSecs(-1))}})
                      .status,
                  200);
    }
    const CatalogueReply notModified =
        conditional(c, "/opds", {{"If-None-Match", c.get("/opds").etag}});
    EXPECT_FALSE(ReplyHeader(notModified).contains("Content-Length"));
    EXPECT_TRUE(ReplyBytes(notModified).endsWith("\r\n\r\n"));

    const QByteArray book = "/epub/2026.02.03.epub";
    const CatalogueReply rest = conditional(c, book, {{"Range", "bytes=4-"}});
    EXPECT_EQ(rest.status, 206);
    EXPECT_EQ(rest.offset, 4);
    EXPECT_EQ(rest.size, 6);
    EXPECT_TRUE(ReplyHeader(rest).contains("\r\nContent-Range: bytes 4-9/10\r\n"));
    EXPECT_TRUE(ReplyHeader(rest).contains("\r\nContent-Length: 6\r\n"));
    const CatalogueReply tail = conditional(c, "/opds", {{"Range", "bytes=-5"}});
    EXPECT_EQ(tail.body, c.get("/opds").body.right(5));
    const CatalogueReply past = conditional(c, book, {{"Range", "bytes=10-"}});
    EXPECT_EQ(past.status, 416);
    EXPECT_TRUE(ReplyHeader(past).contains("\r\nContent-Range: bytes */10\r\n"));
    EXPECT_EQ(conditional(c, book, {{"Range", "bytes=0-1,4-5"}}).status, 200);
    const QByteArray oldTag = c.get(book).etag;
    setBookTime(c.download + "/2026.02.03.epub", QDateTime::currentDateTimeUtc().addDays(1));
    EXPECT_NE(c.get(book).etag, oldTag);
    EXPECT_EQ(conditional(c, book, {{"Range", "bytes=4-"}, {"If-Range", oldTag}}).status, 200);
}

// A syncing reader sees a change only when there is one; each entry says
// what the issue is and leads to its own pages; the search finds an issue
// by date or number.
TEST(Catalogue, TheFeedIsStableCompleteAndSearchable) {
    Catalogue c;
    const CatalogueReply feed = c.get("/opds/new");
    QThread::msleep(1100);
    EXPECT_EQ(c.get("/opds/new").body, feed.body);
    // The feed's own time is its newest entry's.
    static const QRegularExpression updated("<updated>([^<]+)</updated>");
    QStringList times;
    for (const auto& match : updated.globalMatch(QString::fromUtf8(feed.body)))
        times << match.captured(1);
    ASSERT_EQ(times.size(), 6);
    EXPECT_EQ(times.first(), *std::max_element(times.begin() + 1, times.end()));
    bool atom = false;
    for (const FeedEntry& entry : readFeed(feed.body, atom)) {
        EXPECT_TRUE(entry.content.contains(QStringLiteral("страниц: 1")))
            << entry.content.toStdString();
        EXPECT_EQ(entry.types.value("alternate"), "text/html");
        const CatalogueReply page = c.get(entry.links.value("alternate").toUtf8());
        EXPECT_EQ(page.status, 200);
        EXPECT_TRUE(page.contentType.startsWith("text/html"));
        EXPECT_TRUE(QFile(page.file).fileName().endsWith("/index.htm"));
    }
    EXPECT_TRUE(readFeed(feed.body, atom).value(0).content.contains(QStringLiteral("№ 701")));

    EXPECT_TRUE(
        feed.body.contains("<link rel=\"search\" type=\"application/opensearchdescription+xml\" "
                           "href=\"/opensearch.xml\"/>"));
    const CatalogueReply description = c.get("/opensearch.xml", "GET", "192.168.1.5:8085");
    EXPECT_TRUE(
        description.body.contains("template=\"http://192.168.1.5:8085/search?q={searchTerms}\""))
        << description.body.toStdString();
    const auto titlesFound = [&c](const QByteArray& query) {
        bool ok = false;
        QStringList titles;
        for (const FeedEntry& entry : readFeed(c.get("/search?q=" + query).body, ok))
            titles << entry.title.section(' ', 0, 2);
        return titles;
    };
    EXPECT_EQ(titlesFound("2026-02-03"), QStringList{"Ведомир № 24003"});
    EXPECT_EQ(titlesFound("10.02.2026"), QStringList{"Зенитра № 701"});
    EXPECT_EQ(titlesFound("%E2%84%96%20701"), QStringList{"Зенитра № 701"});
    EXPECT_EQ(titlesFound("24001"), QStringList{"Ведомир № 24001"});
    EXPECT_EQ(titlesFound("2026-02").size(), 5);
    EXPECT_TRUE(titlesFound("2025-13-40").isEmpty());
    EXPECT_TRUE(titlesFound("anything").isEmpty());
}

// One bookmark for every morning's paper: the newest complete issue of
// each source, never one whose download is unfinished.
TEST(Catalogue, LatestIsTheNewestCompleteIssueOfEachSource) {
    Catalogue c;
    for (const char* name : {"2026.02.04", "2026.02.05"})
        QDir(c.download + "/" + name).removeRecursively();
    EXPECT_TRUE(c.get("/latest/kp.epub").file.endsWith("/2026.02.03.epub"));
    EXPECT_TRUE(c.get("/latest/kt.epub").file.endsWith("/2026.02.10.KT.epub"));
    EXPECT_TRUE(c.get("/latest/kp.epub").extraHeaders.contains("filename=\"2026.02.03.epub\""));
    MakeIssueFolder(c.download, "2026.02.08", QDate(2026, 2, 8), "24008", 1, {}, true);
    WriteFile(c.download, "2026.02.08/.norvel-pages", "1\t2\t/x\n");
    EXPECT_TRUE(c.get("/latest/kp.epub").file.endsWith("/2026.02.03.epub"));
    MakeIssueFolder(c.download, "2026.02.07", QDate(2026, 2, 7), "24007", 1, {}, true);
    EXPECT_TRUE(c.get("/latest/kp.epub").file.endsWith("/2026.02.07.epub"));
    MakeIssueFolder(c.download, "2026.02.09", QDate(2026, 2, 9), "24009");
    EXPECT_EQ(c.get("/latest/kp.epub").bookToMake, c.download + "/2026.02.09");
    EXPECT_EQ(c.get("/latest/kq.epub").status, 404);
}

// An issue downloaded again in place changes inside its own folder only:
// the server's periodic look at every folder takes it out while its
// download is unfinished and back once it is whole.
TEST(Catalogue, AnIssueDownloadedAgainInPlaceLeavesAndComesBack) {
    Catalogue c;
    ASSERT_TRUE(c.get("/opds/new").body.contains("24004"));
    QThread::msleep(20);
    WriteFile(c.download, "2026.02.04/.norvel-pages", "1\t2\t/x\n");
    c.index->recheckFolders();
    EXPECT_FALSE(c.get("/opds/new").body.contains("24004"));
    QThread::msleep(20);
    QFile::remove(c.download + "/2026.02.04/.norvel-pages");
    c.index->recheckFolders();
    EXPECT_TRUE(c.get("/opds/new").body.contains("24004"));
}
