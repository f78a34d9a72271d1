#include "search/issue_documents.h"

#include "search/function_words.h"
#include "search/index_terms.h"
#include "search/page_text.h"

#include <QFile>
#include <QSet>

namespace search {
namespace {

Xapian::Document pageDocument(const ArchivedIssue& issue, const IndexedPage& page,
                              const QString& text, Xapian::TermGenerator& words) {
    const QString title = FoldYo(PlainText(page.title));
    const std::string path = Utf8(issue.name + "/page" + QString::number(page.number) + ".html");
    Xapian::Document doc;
    words.set_document(doc);
    // The title's words weigh more: a page about a subject names it there.
    words.index_text(Utf8(title), 2);
    words.increase_termpos();
    words.index_text(Utf8(text));
    doc.add_boolean_term(IssuePrefix + Utf8(issue.name));
    doc.add_boolean_term(SourcePrefix + SourceCode(issue.source));
    doc.add_value(SourceSlot, SourceCode(issue.source));
    if (issue.issueDate.isValid())
        doc.add_value(DateSlot, Utf8(issue.issueDate.toString(QStringLiteral("yyyyMMdd"))));
    doc.add_value(NumberSlot, Utf8(cp1251::toUnicode(issue.number)));
    doc.add_value(TitleSlot, Utf8(PlainText(page.title)));
    doc.add_value(PathSlot, path);
    return doc;
}

} // namespace

std::string SourceCode(int16_t source) {
    return source == 2 ? "kt" : "kp";
}

void RemoveIssue(Xapian::WritableDatabase& db, const QString& name) {
    db.delete_document(IssuePrefix + Utf8(name));
}

int PutIssue(Xapian::WritableDatabase& db, const ArchivedIssue& issue) {
    RemoveIssue(db, issue.name);
    Xapian::TermGenerator words;
    words.set_stemmer(RussianStemmer());
    // Stems only, with their positions: a Russian phrase matches in any
    // form («северный мост», «северного моста»), and the index holds one
    // term per word, not two.
    words.set_stemming_strategy(Xapian::TermGenerator::STEM_ALL_Z);
    words.set_stopper(&FunctionWords());
    words.set_stopper_strategy(Xapian::TermGenerator::STOP_ALL);
    // The issue's documents are gone: each page is added once, by its
    // number, even when the list names it twice.
    QSet<int> added;
    for (const IndexedPage& page : issue.pages) {
        if (!page.liveAddress.isEmpty() || added.contains(page.number))
            continue;
        const QString file = issue.folder + "/page" + QString::number(page.number) + ".html";
        QFile in(file);
        if (!in.open(QIODevice::ReadOnly))
            continue;
        db.add_document(pageDocument(issue, page, PageText(in.readAll()), words));
        added.insert(page.number);
    }
    return int(added.size());
}

} // namespace search
