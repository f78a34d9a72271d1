#include "catalogue/navigation.h"

#include "catalogue/search.h"

#include <QMap>
#include <QUrl>

namespace {

const char* const MonthNames[] = {"Январь", "Февраль", "Март",     "Апрель",  "Май",    "Июнь",
                                  "Июль",   "Август",  "Сентябрь", "Октябрь", "Ноябрь", "Декабрь"};
const QByteArray Undated = "undated";

QString issuesText(qsizetype n) {
    const qsizetype tens = n % 100, ones = n % 10;
    const char* word = (tens >= 11 && tens <= 14) || ones == 0 || ones >= 5 ? "номеров"
                       : ones == 1                                          ? "номер"
                                                                            : "номера";
    return QString::number(n) + " " + QString::fromUtf8(word);
}

QByteArray sourceCode(int16_t source) {
    return source == 2 ? "kt" : "kp";
}

FeedHead headOf(const QByteArray& id, const QString& title, const QByteArray& self,
                const QByteArray& up) {
    FeedHead head;
    head.id = id;
    head.title = title;
    head.self = self;
    head.up = up;
    return head;
}

MadeFeed acquisition(FeedHead head, const CatalogueEntries& entries,
                     const MatchedPages& pages = {}) {
    head.updated = NewestChange(entries);
    return {AcquisitionFeedType, AcquisitionFeed(head, entries, pages), head.updated};
}

// The page-th page of entries under head; path (with a query or not) is
// the feed's address without the page.
std::optional<MadeFeed> paged(FeedHead head, const QByteArray& path,
                              const CatalogueEntries& entries, int page,
                              const MatchedPages& matched = {}) {
    const int pages = qMax(1, int((entries.size() + PageSize - 1) / PageSize));
    if (page < 1 || page > pages)
        return std::nullopt;
    const QByteArray joint = path.contains('?') ? "&page=" : "?page=";
    const auto pageHref = [&](int n) {
        return n == 1 ? path : path + joint + QByteArray::number(n);
    };
    head.self = pageHref(page);
    if (pages > 1) {
        head.first = pageHref(1);
        head.last = pageHref(pages);
        head.previous = page > 1 ? pageHref(page - 1) : QByteArray();
        head.next = page < pages ? pageHref(page + 1) : QByteArray();
        head.title += QStringLiteral(" (%1 из %2)").arg(page).arg(pages);
    }
    return acquisition(head, entries.mid((page - 1) * PageSize, PageSize), matched);
}

CatalogueEntries ofSource(const CatalogueIndex& index, const QByteArray& code) {
    CatalogueEntries found;
    for (const CatalogueEntry* entry : index.entries()) {
        if (sourceCode(entry->issue.source) == code)
            found.append(entry);
    }
    return found;
}

// Entries grouped by key, newest group first; each group keeps the newest
// first order.
template <typename Key>
QList<std::pair<Key, CatalogueEntries>> grouped(const CatalogueEntries& entries,
                                                Key (*keyOf)(const CatalogueEntry*)) {
    QMap<Key, CatalogueEntries> groups;
    for (const CatalogueEntry* entry : entries)
        groups[keyOf(entry)].append(entry);
    QList<std::pair<Key, CatalogueEntries>> newestFirst;
    for (auto it = groups.cbegin(); it != groups.cend(); ++it)
        newestFirst.prepend({it.key(), it.value()});
    return newestFirst;
}

int yearOf(const CatalogueEntry* entry) {
    return entry->issue.issueDate.isValid() ? entry->issue.issueDate.year() : 0;
}
int monthOf(const CatalogueEntry* entry) {
    return entry->issue.issueDate.month();
}

FeedWay way(const QString& title, const CatalogueEntries& entries, const QByteArray& href) {
    FeedWay entry;
    entry.title = title;
    entry.content = issuesText(entries.size());
    entry.href = href;
    entry.updated = NewestChange(entries);
    return entry;
}

MadeFeed navigation(const FeedHead& head, const QList<FeedWay>& ways) {
    FeedHead withTime = head;
    withTime.updated = QDateTime::fromSecsSinceEpoch(0, Qt::UTC);
    for (const FeedWay& entry : ways)
        withTime.updated = qMax(withTime.updated, entry.updated);
    return {NavigationFeedType, NavigationFeed(withTime, ways), withTime.updated};
}

MadeFeed rootFeed(const CatalogueIndex& index) {
    const CatalogueEntries newest = index.entries().mid(0, NewestCount);
    QList<FeedWay> ways{way(QStringLiteral("Новые номера"), newest, "/opds/new")};
    ways.first().type = AcquisitionFeedType;
    ways.first().rel = OpdsNamespace + "sort/new";
    for (const int16_t source : {int16_t(1), int16_t(2)}) {
        const CatalogueEntries entries = ofSource(index, sourceCode(source));
        if (!entries.isEmpty())
            ways << way(PublicationName(source), entries, "/opds/" + sourceCode(source));
    }
    return navigation(
        headOf("urn:norvel:catalogue", QStringLiteral("Норвел: архив номеров"), FeedPath, {}),
        ways);
}

std::optional<MadeFeed> sourceFeed(const CatalogueIndex& index, const QList<QByteArray>& parts,
                                   int page) {
    const QByteArray code = parts[0];
    const int16_t source = code == "kt" ? 2 : 1;
    const QByteArray base = QByteArray(FeedPath) + "/" + code;
    const CatalogueEntries entries = ofSource(index, code);
    if (parts.size() == 1) {
        if (page != 1)
            return std::nullopt;
        QList<FeedWay> years;
        for (const auto& [year, issues] : grouped(entries, yearOf)) {
            const QByteArray href = base + "/" + (year ? QByteArray::number(year) : Undated);
            years << way(year ? QString::number(year) : QStringLiteral("Без даты"), issues, href);
        }
        return navigation(headOf("urn:norvel:" + code, PublicationName(source), base, FeedPath),
                          years);
    }
    const int year = parts[1].toInt();
    CatalogueEntries ofYear;
    for (const CatalogueEntry* entry : entries) {
        if (yearOf(entry) == year)
            ofYear << entry;
    }
    const QByteArray yearPath = base + "/" + parts[1];
    const QString yearTitle = PublicationName(source) + " " + QString::fromLatin1(parts[1]);
    if (parts[1] == Undated && parts.size() == 2)
        return paged(headOf("urn:norvel:" + code + ":undated",
                            PublicationName(source) + QStringLiteral(", без даты"), {}, base),
                     yearPath, ofYear, page);
    if (ofYear.isEmpty() || year <= 0 || QByteArray::number(year) != parts[1])
        return std::nullopt;
    if (parts.size() == 2 && page == 1) {
        QList<FeedWay> months;
        for (const auto& [month, issues] : grouped(ofYear, monthOf))
            months << way(QString::fromUtf8(MonthNames[month - 1]) + " " + QString::number(year),
                          issues,
                          yearPath + "/" + QByteArray::number(month).rightJustified(2, '0'));
        return navigation(headOf("urn:norvel:" + code + ":" + parts[1], yearTitle, yearPath, base),
                          months);
    }
    const int month = parts.value(2).toInt();
    CatalogueEntries ofMonth;
    for (const CatalogueEntry* entry : ofYear) {
        if (monthOf(entry) == month)
            ofMonth << entry;
    }
    if (parts.size() != 3 || ofMonth.isEmpty() || parts[2].size() != 2)
        return std::nullopt;
    return paged(headOf("urn:norvel:" + code + ":" + parts[1] + "-" + parts[2],
                        QString::fromUtf8(MonthNames[month - 1]) + " " + QString::number(year) +
                            ", " + PublicationName(source),
                        {}, yearPath),
                 yearPath + "/" + parts[2], ofMonth, page);
}

} // namespace

std::optional<MadeFeed> CatalogueFeed(const CatalogueIndex& index, const QByteArray& path,
                                      int page) {
    QByteArray rest = path.mid(qstrlen(FeedPath));
    if (rest.endsWith('/'))
        rest.chop(1);
    if (rest.isEmpty())
        return page == 1 ? std::optional(rootFeed(index)) : std::nullopt;
    if (!rest.startsWith('/'))
        return std::nullopt;
    const QList<QByteArray> parts = rest.mid(1).split('/');
    if (parts == QList<QByteArray>{"new"}) {
        if (page != 1)
            return std::nullopt;
        const CatalogueEntries newest = index.entries().mid(0, NewestCount);
        return acquisition(
            headOf("urn:norvel:new", QStringLiteral("Новые номера"), "/opds/new", FeedPath),
            newest);
    }
    if ((parts[0] != "kp" && parts[0] != "kt") || parts.size() > 3)
        return std::nullopt;
    return sourceFeed(index, parts, page);
}

std::optional<MadeFeed> SearchFeed(const CatalogueIndex& index, const QString& terms, int page) {
    const QByteArray encoded = QUrl::toPercentEncoding(terms);
    // A date or a number names issues; other words are looked for in the
    // text of their pages.
    MatchedPages pages;
    CatalogueEntries found = MatchingIssues(index.entries(), terms);
    if (found.isEmpty())
        found = IssuesHoldingText(index, terms, pages);
    return paged(
        headOf("urn:norvel:search:" + encoded, QStringLiteral("Поиск: ") + terms, {}, FeedPath),
        QByteArray(SearchPath) + "?q=" + encoded, found, page, pages);
}
