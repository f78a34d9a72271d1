#include "processing/archive_issues.h"

#include "processing/find_links.h"
#include "processing/issue_index.h"
#include "processing/main_index.h"
#include "settings/whole_file.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>
#include <algorithm>

namespace {

const ByteText HeadingOpening = "<div class=\"date\">";
// Every line of the list of pages starts so; the template's own links do not.
const ByteText EntryOpening = "<li><a href=\"";

QDate buildDateOf(const ByteText& index) {
    const qsizetype at = index.lastIndexOf(IndexEndMark);
    const ByteText text = index.mid(at + qsizetype(sizeof(IndexEndMark) - 1), 10);
    return QDate::fromString(QString::fromLatin1(text), QStringLiteral("dd.MM.yyyy"));
}

ByteText attributeAfter(const ByteText& text, qsizetype from, const ByteText& name) {
    const qsizetype at = text.indexOf(name + "=\"", from);
    if (at < 0)
        return {};
    const qsizetype start = at + name.size() + 2;
    const qsizetype end = text.indexOf('"', start);
    return end < 0 ? ByteText() : text.mid(start, end - start);
}

// The entries the index builder wrote: "pageN.html" for a saved page, the
// page's address on the site with the class "error" for one that was not.
// A missing page's number is its place in the list, which runs from 1.
QList<IndexedPage> readPageList(const ByteText& index) {
    static const QRegularExpression pageName(QStringLiteral("^page([0-9]{1,4})\\.html$"));
    QList<IndexedPage> pages;
    for (qsizetype at = index.indexOf(EntryOpening); at >= 0;
         at = index.indexOf(EntryOpening, at + 1)) {
        const qsizetype hrefStart = at + EntryOpening.size();
        const qsizetype hrefEnd = index.indexOf('"', hrefStart);
        const qsizetype tagEnd = index.indexOf('>', hrefStart);
        const qsizetype textEnd = index.indexOf("</a>", hrefStart);
        if (hrefEnd < 0 || tagEnd < 0 || textEnd < tagEnd)
            break;
        IndexedPage page;
        const ByteText href = index.mid(hrefStart, hrefEnd - hrefStart);
        page.title = index.mid(tagEnd + 1, textEnd - tagEnd - 1);
        const auto match = pageName.match(QString::fromLatin1(href));
        if (match.hasMatch()) {
            page.number = match.captured(1).toInt();
        } else if (attributeAfter(index.left(tagEnd), hrefEnd, "class") == "error") {
            page.number = int(pages.size()) + 1;
            page.liveAddress = href;
        } else {
            continue;
        }
        pages.append(page);
    }
    return pages;
}

int compareNumbers(const ByteText& a, const ByteText& b) {
    bool aNumeric = false, bNumeric = false;
    const qlonglong x = a.toLongLong(&aNumeric), y = b.toLongLong(&bNumeric);
    if (aNumeric && bNumeric)
        return x < y ? -1 : (x > y ? 1 : 0);
    return a.compare(b);
}

} // namespace

std::optional<ArchivedIssue> ReadArchivedIssue(const QString& folder) {
    const QFileInfo info(folder);
    const QString indexPath = folder + "/index.htm";
    if (!info.isDir() || info.isSymLink() || QFileInfo(indexPath).isSymLink())
        return std::nullopt;
    const std::optional<ByteText> index = ReadWholeFile(indexPath);
    if (!index || !index->contains(HeadingOpening) || !index->contains(IndexEndMark))
        return std::nullopt;
    ArchivedIssue issue;
    issue.folder = QDir::cleanPath(info.absoluteFilePath());
    issue.name = info.fileName();
    issue.source = issue.name.endsWith(QLatin1String("KT")) ? 2 : 1;
    const IssueHeading heading = ReadIssueHeading(*index);
    issue.dateText = heading.date;
    issue.number = heading.number;
    issue.issueDate = HeadingDate(heading.date);
    issue.builtOn = buildDateOf(*index);
    issue.pages = readPageList(*index);
    return issue;
}

QList<ArchivedIssue> ListArchivedIssues(const QString& downloadFolder) {
    QList<ArchivedIssue> issues;
    const QStringList names =
        QDir(downloadFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    for (const QString& name : names) {
        if (auto issue = ReadArchivedIssue(downloadFolder + "/" + name))
            issues.append(*issue);
    }
    std::stable_sort(issues.begin(), issues.end(), NewerIssue);
    return issues;
}

bool NewerIssue(const ArchivedIssue& a, const ArchivedIssue& b) {
    if (a.issueDate.isValid() != b.issueDate.isValid())
        return a.issueDate.isValid();
    if (a.issueDate != b.issueDate)
        return a.issueDate > b.issueDate;
    const int byNumber = compareNumbers(a.number, b.number);
    if (byNumber != 0)
        return byNumber > 0;
    return a.name > b.name;
}

QString IssueCoverFile(const ArchivedIssue& issue) {
    const QStringList candidates = issue.source == 2 ? QStringList{QStringLiteral("img/cover.jpg"),
                                                                   QStringLiteral("img/cover.bmp")}
                                                     : QStringList{QStringLiteral("img/t-01.gif")};
    for (const QString& name : candidates) {
        const QString file = issue.folder + "/" + name;
        if (QFileInfo(file).isFile() && InsideFolder(file, issue.folder))
            return file;
    }
    return {};
}

QString EpubPathOf(const QString& issueFolder) {
    return issueFolder + ".epub";
}

bool InsideFolder(const QString& path, const QString& folder) {
    const QString p = QFileInfo(path).canonicalFilePath();
    const QString f = QFileInfo(folder).canonicalFilePath();
    return !p.isEmpty() && !f.isEmpty() && (p == f || p.startsWith(f + "/"));
}

bool SameFolder(const QString& a, const QString& b) {
    const QString x = QFileInfo(a).canonicalFilePath();
    return !x.isEmpty() && x == QFileInfo(b).canonicalFilePath();
}

QDate HeadingDate(const ByteText& dateText) {
    const QString numeric = QString::fromLatin1(DateToNumeric(dateText.trimmed()));
    return QDate::fromString(numeric, QStringLiteral("d.MM.yyyy"));
}

QString PublicationName(int16_t source) {
    return source == 2 ? QStringLiteral("Зенитра") : QStringLiteral("Ведомир");
}

QString IssueTitle(const ArchivedIssue& issue) {
    QString title = PublicationName(issue.source);
    if (issue.number != "not found")
        title += QStringLiteral(" № ") + cp1251::toUnicode(issue.number);
    if (issue.dateText != "date invalid")
        title += QStringLiteral(" от ") + cp1251::toUnicode(issue.dateText);
    return title;
}

QString IssueIdentifier(const ArchivedIssue& issue) {
    // The folder's name stands in for a number the heading lacks, so two
    // such issues still differ.
    const ByteText number =
        issue.number == "not found" ? cp1251::fromUnicode(issue.name) : issue.number;
    const QString code = issue.source == 2 ? QStringLiteral("kt") : QStringLiteral("kp");
    return "urn:norvel:" + code + ":" +
           QString::fromLatin1(QUrl::toPercentEncoding(cp1251::toUnicode(number)));
}
