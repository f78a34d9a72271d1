#include "catalogue/search.h"

#include "search/archive_search.h"
#include "search/index_terms.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <functional>

namespace {

// Pages a text search gathers before they are grouped into issues.
constexpr int MatchedPagesLimit = 500;

using Test = std::function<bool(const ArchivedIssue&)>;

CatalogueEntries matching(const CatalogueEntries& entries, const Test& test) {
    CatalogueEntries found;
    for (const CatalogueEntry* entry : entries) {
        if (test(entry->issue))
            found.append(entry);
    }
    return found;
}

Test sameDay(const QDate& date) {
    return [date](const ArchivedIssue& issue) { return date.isValid() && issue.issueDate == date; };
}

Test sameMonth(int year, int month) {
    return [year, month](const ArchivedIssue& issue) {
        return issue.issueDate.year() == year && issue.issueDate.month() == month;
    };
}

} // namespace

CatalogueEntries MatchingIssues(const CatalogueEntries& entries, const QString& query) {
    QString text = query.trimmed();
    if (text.startsWith(QStringLiteral("№")))
        text = text.mid(1).trimmed();
    static const QRegularExpression isoDay(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})$"));
    static const QRegularExpression day(QStringLiteral("^(\\d{1,2})\\.(\\d{1,2})\\.(\\d{4})$"));
    static const QRegularExpression isoMonth(QStringLiteral("^(\\d{4})-(\\d{1,2})$"));
    static const QRegularExpression month(QStringLiteral("^(\\d{1,2})\\.(\\d{4})$"));
    static const QRegularExpression digits(QStringLiteral("^\\d{1,9}$"));
    auto n = [](const QRegularExpressionMatch& m, int i) { return m.captured(i).toInt(); };
    if (const auto m = isoDay.match(text); m.hasMatch())
        return matching(entries, sameDay(QDate(n(m, 1), n(m, 2), n(m, 3))));
    if (const auto m = day.match(text); m.hasMatch())
        return matching(entries, sameDay(QDate(n(m, 3), n(m, 2), n(m, 1))));
    if (const auto m = isoMonth.match(text); m.hasMatch())
        return matching(entries, sameMonth(n(m, 1), n(m, 2)));
    if (const auto m = month.match(text); m.hasMatch())
        return matching(entries, sameMonth(n(m, 2), n(m, 1)));
    if (!digits.match(text).hasMatch())
        return {};
    const qlonglong wanted = text.toLongLong();
    const CatalogueEntries byNumber = matching(entries, [wanted](const ArchivedIssue& issue) {
        bool numeric = false;
        return issue.number.trimmed().toLongLong(&numeric) == wanted && numeric;
    });
    if (!byNumber.isEmpty() || text.size() != 4)
        return byNumber;
    return matching(entries, [&text](const ArchivedIssue& issue) {
        return issue.issueDate.year() == text.toInt();
    });
}

CatalogueEntries IssuesHoldingText(const CatalogueIndex& index, const QString& query,
                                   MatchedPages& pages) {
    const QString programFolder = QFileInfo(index.folder()).path();
    if (!QFileInfo(search::IndexFolder(programFolder)).isDir())
        return {};
    search::SearchRequest request;
    request.query = query;
    request.limit = MatchedPagesLimit;
    CatalogueEntries found;
    for (const search::IssueMatch& match :
         search::GroupByIssue(search::Search(programFolder, request).hits)) {
        const CatalogueEntry* entry = index.find(match.folder);
        if (!entry)
            continue;
        found.append(entry);
        for (const search::SearchHit& hit : match.pages)
            pages[entry].append({QFileInfo(hit.path).fileName(), hit.title});
    }
    return found;
}
