#include "search/archive_index.h"

#include "processing/archive_issues.h"
#include "search/index_terms.h"
#include "search/issue_documents.h"
#include "search/writable_index.h"

#include <QDir>
#include <QSet>

namespace search {
namespace {

// Runs apply on the open index. A database that turns out damaged while
// it is changed is made anew from the archive once, which covers the
// change; any other failure leaves it as it was, with a note.
IndexOutcome change(const QString& programFolder,
                    const std::function<void(Xapian::WritableDatabase&, IndexOutcome&)>& apply,
                    const std::function<void(int, int)>& progress = {}, bool compact = false) {
    IndexOutcome outcome;
    for (int attempt = 0; attempt < 2; ++attempt) {
        WritableIndex index = OpenWritableIndex(programFolder, progress);
        outcome.note = index.note;
        if (!index.db)
            return outcome;
        try {
            if (index.rebuilt) {
                outcome.issues = index.issues;
                outcome.pages = index.pages;
            } else {
                apply(*index.db, outcome);
                index.db->commit();
            }
            if (compact)
                CompactIndex(*index.db, IndexFolder(programFolder));
            index.db->close();
            outcome.done = true;
            return outcome;
        } catch (const Xapian::DatabaseCorruptError& error) {
            outcome.note = FromUtf8(error.get_description());
            index.db.reset();
            QDir(IndexFolder(programFolder)).removeRecursively();
        } catch (const Xapian::Error& error) {
            // A full disk, another writer: the index stays as it was.
            outcome.note = QStringLiteral("Поисковый индекс не обновлён: ") +
                           FromUtf8(error.get_description());
            return outcome;
        }
    }
    return outcome;
}

} // namespace

IndexOutcome IndexIssue(const QString& programFolder, const QString& issueFolder,
                        const std::function<void(int, int)>& progress) {
    return change(
        programFolder,
        [&](Xapian::WritableDatabase& db, IndexOutcome& outcome) {
            const std::optional<ArchivedIssue> issue = ReadArchivedIssue(issueFolder);
            if (!issue)
                return;
            db.begin_transaction();
            outcome.pages = PutIssue(db, *issue);
            db.commit_transaction();
            outcome.issues = 1;
        },
        progress);
}

IndexOutcome ForgetIssues(const QString& programFolder, const QStringList& folderNames) {
    return change(programFolder, [&](Xapian::WritableDatabase& db, IndexOutcome&) {
        db.begin_transaction();
        for (const QString& name : folderNames)
            RemoveIssue(db, name);
        db.commit_transaction();
    });
}

IndexOutcome Reindex(const QString& programFolder,
                     const std::function<void(int done, int total)>& progress) {
    return change(
        programFolder,
        [&](Xapian::WritableDatabase& db, IndexOutcome& outcome) {
            const FillResult filled = FillFromArchive(db, programFolder, progress);
            outcome.issues = int(filled.names.size());
            outcome.pages = filled.pages;
            // Issues whose folders went by other hands than the program's.
            const QSet<QString> present(filled.names.begin(), filled.names.end());
            QStringList gone;
            for (auto term = db.allterms_begin(IssuePrefix); term != db.allterms_end(IssuePrefix);
                 ++term) {
                const QString name = FromUtf8((*term).substr(IssuePrefix.size()));
                if (!present.contains(name))
                    gone << name;
            }
            db.begin_transaction();
            for (const QString& name : gone)
                RemoveIssue(db, name);
            db.commit_transaction();
        },
        progress, true);
}

} // namespace search
