#include "search/archive_search.h"
#include "settings/program_folder.h"

#include "search/function_words.h"
#include "search/index_terms.h"
#include "search/issue_documents.h"
#include "search/page_text.h"
#include "search/writable_index.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <optional>

namespace search {
namespace {

// Bytes of page text a snippet aims at: two or three lines of a terminal.
constexpr size_t SnippetBytes = 200;

// The parser reads a query of exclusions alone as the words themselves.
bool onlyExclusions(const QString& query) {
    const QStringList words = query.split(' ', Qt::SkipEmptyParts);
    return !words.isEmpty() && std::all_of(words.begin(), words.end(), [](const QString& word) {
        return word.startsWith('-');
    });
}

const QRegularExpression& wordCharacter() {
    static const QRegularExpression any(QStringLiteral("\\w"),
                                        QRegularExpression::UseUnicodePropertiesOption);
    return any;
}

std::optional<Xapian::Query> parseQuery(const QString& query, QString& error) {
    if (onlyExclusions(query)) {
        error = QStringLiteral("в запросе только исключённые слова: укажите и искомые");
        return std::nullopt;
    }
    const QString lowered = FoldYo(query).toLower();
    const QString meant = WithoutFunctionWords(lowered);
    if (meant != lowered && (onlyExclusions(meant) || !meant.contains(wordCharacter()))) {
        error = QStringLiteral("в запросе только служебные слова (предлоги, союзы, частицы): "
                               "по ним не ищут");
        return std::nullopt;
    }
    Xapian::QueryParser parser;
    parser.set_stemmer(RussianStemmer());
    // Every word stemmed, in a phrase too, as the index holds them (a word
    // with a capital would be taken for a name: case does not matter here).
    parser.set_stemming_strategy(Xapian::QueryParser::STEM_ALL_Z);
    parser.set_default_op(Xapian::Query::OP_AND);
    try {
        const Xapian::Query parsed = parser.parse_query(
            Utf8(meant), Xapian::QueryParser::FLAG_PHRASE | Xapian::QueryParser::FLAG_LOVEHATE);
        if (!parsed.empty())
            return parsed;
        error = QStringLiteral("в запросе нет ни одного слова для поиска");
    } catch (const Xapian::QueryParserError& failure) {
        error = QStringLiteral("запрос не разобран: ") + FromUtf8(failure.get_msg());
    }
    return std::nullopt;
}

std::string dayKey(const QDate& date, const char* unlimited) {
    return date.isValid() ? Utf8(date.toString(QStringLiteral("yyyyMMdd"))) : unlimited;
}

Xapian::Query limited(Xapian::Query query, const SearchRequest& request) {
    if (request.source != 0)
        query = Xapian::Query(Xapian::Query::OP_FILTER, query,
                              Xapian::Query(SourcePrefix + SourceCode(request.source)));
    if (request.from.isValid() || request.to.isValid())
        query = Xapian::Query(Xapian::Query::OP_FILTER, query,
                              Xapian::Query(Xapian::Query::OP_VALUE_RANGE, DateSlot,
                                            dayKey(request.from, "00000000"),
                                            dayKey(request.to, "99999999")));
    return query;
}

QString snippetOf(const Xapian::MSet& matches, const QString& page, const SnippetMarks& marks) {
    QFile file(page);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // Exhaustive: the page's matches may lie far from its start.
    const unsigned flags =
        Xapian::MSet::SNIPPET_BACKGROUND_MODEL | Xapian::MSet::SNIPPET_EXHAUSTIVE;
    QString snippet =
        FromUtf8(matches.snippet(Utf8(PageText(file.readAll())), SnippetBytes, RussianStemmer(),
                                 flags, Utf8(marks.before), Utf8(marks.after), "…"));
    // The snippet comes escaped for HTML; the hit carries plain text.
    return snippet.replace(QLatin1String("&lt;"), QLatin1String("<"))
        .replace(QLatin1String("&gt;"), QLatin1String(">"))
        .replace(QLatin1String("&quot;"), QLatin1String("\""))
        .replace(QLatin1String("&amp;"), QLatin1String("&"));
}

QList<SearchHit> run(const Xapian::Database& db, const Xapian::Query& query, int limit,
                     const QString& archive, const SnippetMarks& marks) {
    Xapian::Enquire enquire(db);
    enquire.set_query(query);
    const Xapian::MSet matches = enquire.get_mset(0, Xapian::doccount(qMax(limit, 0)));
    // Snippets mark a phrase of stems only word by word: they are made
    // with the query's words alone.
    Xapian::Enquire marking(db);
    marking.set_query(Xapian::Query(Xapian::Query::OP_OR, query.get_unique_terms_begin(),
                                    query.get_unique_terms_end()));
    const Xapian::MSet marker = marking.get_mset(0, 1);
    QList<SearchHit> hits;
    for (auto match = matches.begin(); match != matches.end(); ++match) {
        const Xapian::Document doc = match.get_document();
        const QString path = FromUtf8(doc.get_value(PathSlot));
        SearchHit hit;
        hit.date = QDate::fromString(FromUtf8(doc.get_value(DateSlot)), QStringLiteral("yyyyMMdd"));
        hit.source = doc.get_value(SourceSlot) == "kt" ? 2 : 1;
        hit.number = FromUtf8(doc.get_value(NumberSlot));
        hit.title = FromUtf8(doc.get_value(TitleSlot));
        hit.folder = path.section('/', 0, 0);
        hit.path = archive + "/" + path;
        hit.snippet = snippetOf(marker, hit.path, marks);
        hits << hit;
    }
    return hits;
}

} // namespace

SearchResult Search(const QString& programFolder, const SearchRequest& request,
                    const SnippetMarks& marks, const std::function<void(int, int)>& building) {
    SearchResult result;
    const std::optional<Xapian::Query> parsed = parseQuery(request.query, result.error);
    if (!parsed)
        return result;
    const Xapian::Query query = limited(*parsed, request);
    // A missing or damaged index is built anew and the search runs again;
    // an index that opens for writing but not for reading goes first.
    if (IndexNeedsBuilding(programFolder))
        result.note = OpenWritableIndex(programFolder, building).note;
    constexpr int MostRereads = 5;
    int rebuilds = 0;
    int rereads = 0;
    for (;;) {
        try {
            const Xapian::Database db(Utf8(IndexFolder(programFolder)));
            // Written by an older version: built again once.
            if (db.get_metadata(FormatKey) != Format && rebuilds == 0) {
                ++rebuilds;
                result.note = OpenWritableIndex(programFolder, building).note;
                continue;
            }
            result.hits = run(db, query, request.limit, ArchiveFolderPath(programFolder), marks);
            return result;
        } catch (const Xapian::DatabaseModifiedError& error) {
            // Another copy changed the index while it was read: read again.
            if (++rereads < MostRereads)
                continue;
            result.error = FromUtf8(error.get_description());
            return result;
        } catch (const Xapian::Error& error) {
            if (rebuilds == 2) {
                result.error = QStringLiteral("поисковый индекс не читается: ") +
                               FromUtf8(error.get_description());
                return result;
            }
            if (rebuilds++ == 1)
                QDir(IndexFolder(programFolder)).removeRecursively();
            const WritableIndex rebuilt = OpenWritableIndex(programFolder, building);
            if (!rebuilt.note.isEmpty())
                result.note = rebuilt.note;
        }
    }
}

QList<IssueMatch> GroupByIssue(const QList<SearchHit>& hits) {
    QList<IssueMatch> issues;
    for (const SearchHit& hit : hits) {
        auto same = std::find_if(issues.begin(), issues.end(), [&](const IssueMatch& issue) {
            return issue.folder == hit.folder;
        });
        if (same == issues.end())
            same = issues.insert(issues.end(), IssueMatch{hit.folder, {}});
        same->pages << hit;
    }
    return issues;
}

} // namespace search
