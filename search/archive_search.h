#pragma once
// Searching the archive's index: the words of a query in any of their
// Russian forms, all of them required, "quoted words" as a phrase, -word
// excluded; case and «ё» do not matter. Hits come best first, each with a
// snippet of its page that marks the matched words.

#include <QDate>
#include <QList>
#include <QString>
#include <cstdint>
#include <functional>

namespace search {

struct SearchRequest {
    QString query;
    int16_t source = 0; // 1 newspaper, 2 magazine, 0 both
    QDate from, to;     // either may be invalid: no limit on that side
    int limit = 10;
};

struct SearchHit {
    QDate date;
    int16_t source = 1;
    QString number;
    QString title;
    QString folder; // the issue folder's name under Download/
    QString path;   // the page's full path
    QString snippet;
};

struct SearchResult {
    QList<SearchHit> hits;
    QString error; // the query could not be run, and why; no hits then
    QString note;  // the index had to be built anew first, or the like
};

// The marks around a matched word in a snippet.
struct SnippetMarks {
    QString before = QStringLiteral("[");
    QString after = QStringLiteral("]");
};

// An index that has to be built from the whole archive first reports
// building(done, total) after each issue.
SearchResult Search(const QString& programFolder, const SearchRequest& request,
                    const SnippetMarks& marks = {},
                    const std::function<void(int done, int total)>& building = {});

// The issues whose pages match, in the order of their best page, each with
// its matching pages best first (for a catalogue that lists issues). The
// request's limit counts pages.
struct IssueMatch {
    QString folder; // the issue folder's name under Download/
    QList<SearchHit> pages;
};
QList<IssueMatch> GroupByIssue(const QList<SearchHit>& hits);

} // namespace search
