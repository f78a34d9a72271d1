#include "search/writable_index.h"
#include "settings/program_folder.h"

#include "processing/archive_issues.h"
#include "search/index_terms.h"
#include "search/issue_documents.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

namespace search {
namespace {

// Another copy of the program (a download, --reindex) may be writing; its
// changes are short, a rebuild is not, so the wait is bounded.
constexpr int LockWaitMs = 10'000;
constexpr int LockRetryMs = 200;
// Issues per transaction of a rebuild: fewer commits to disk, still little
// to redo after a kill.
constexpr int IssuesPerTransaction = 25;

// Xapian's own mark of a database in the folder; without it the index is
// missing, whatever else the folder holds.
bool indexPresent(const QString& folder) {
    return QFileInfo::exists(folder + "/iamglass");
}

// Our mark in the index folder while the whole index is being built.
const QString UnfinishedMark = QStringLiteral("/norvel-unfinished");

// Builds the whole index into the open out.db. Until it is done a mark in
// the folder says so, and an index killed while it was built is filled
// again by the next opening instead of being taken for whole.
void fill(WritableIndex& out, const QString& programFolder,
          const std::function<void(int, int)>& progress, bool damaged) {
    const QString mark = IndexFolder(programFolder) + UnfinishedMark;
    QFile(mark).open(QIODevice::WriteOnly);
    try {
        const FillResult filled = FillFromArchive(*out.db, programFolder, progress);
        out.db->set_metadata(FormatKey, Format);
        out.db->commit();
        QFile::remove(mark);
        out.issues = int(filled.names.size());
        out.pages = filled.pages;
        out.rebuilt = true;
        out.note = damaged ? QStringLiteral("Поисковый индекс был повреждён и построен заново")
                           : QStringLiteral("Поисковый индекс построен по всему архиву");
    } catch (const Xapian::Error& error) {
        // A full disk: the next opening tries again.
        out.db.reset();
        out.note = QStringLiteral("Поисковый индекс построен не полностью: ") +
                   FromUtf8(error.get_description());
    }
}

} // namespace

QString IndexFolder(const QString& programFolder) {
    return programFolder + "/search";
}

FillResult FillFromArchive(Xapian::WritableDatabase& db, const QString& programFolder,
                           const std::function<void(int, int)>& progress) {
    const QList<ArchivedIssue> issues = ListArchivedIssues(ArchiveFolderPath(programFolder));
    FillResult result;
    const int total = int(issues.size());
    for (int i = 0; i < total; ++i) {
        if (i % IssuesPerTransaction == 0)
            db.begin_transaction();
        result.pages += PutIssue(db, issues[i]);
        result.names << issues[i].name;
        if (i % IssuesPerTransaction == IssuesPerTransaction - 1 || i == total - 1)
            db.commit_transaction();
        if (progress)
            progress(i + 1, total);
    }
    return result;
}

bool CompactIndex(Xapian::WritableDatabase& db, const QString& folder) {
    const QString compact = folder + ".compact";
    const QString old = folder + ".old";
    // Left by a run killed while compacting.
    QDir(compact).removeRecursively();
    QDir(old).removeRecursively();
    try {
        db.commit();
        db.compact(Utf8(compact), Xapian::Compactor::FULL);
    } catch (const Xapian::Error&) {
        QDir(compact).removeRecursively();
        return false;
    }
    QDir parent;
    if (!parent.rename(folder, old)) {
        QDir(compact).removeRecursively();
        return false;
    }
    if (!parent.rename(compact, folder)) {
        parent.rename(old, folder);
        return false;
    }
    QDir(old).removeRecursively();
    return true;
}

bool IndexNeedsBuilding(const QString& programFolder) {
    const QString folder = IndexFolder(programFolder);
    return !indexPresent(folder) || QFileInfo::exists(folder + UnfinishedMark);
}

WritableIndex OpenWritableIndex(const QString& programFolder,
                                const std::function<void(int, int)>& progress) {
    WritableIndex out;
    const QString folder = IndexFolder(programFolder);
    bool present = false;
    bool damaged = false;
    QElapsedTimer waited;
    waited.start();
    while (!out.db) {
        // Looked at again after every wait: the copy that held the lock
        // may have built it meanwhile.
        present = !IndexNeedsBuilding(programFolder);
        try {
            // No fsync: a killed program's writes are in the system's
            // cache all the same, and an index a power cut damages is
            // found damaged and built again; syncing took more than the
            // indexing itself.
            out.db.emplace(Utf8(folder), Xapian::DB_CREATE_OR_OPEN | Xapian::DB_NO_SYNC);
            if (present && out.db->get_metadata(FormatKey) != Format) {
                out.db.reset();
                if (!QDir(folder).removeRecursively()) {
                    out.note = QStringLiteral("Поисковый индекс не обновлён: папка не удаляется");
                    return out;
                }
            }
        } catch (const Xapian::DatabaseLockError&) {
            if (waited.elapsed() > LockWaitMs) {
                out.note = QStringLiteral("Поисковый индекс занят другой копией программы");
                return out;
            }
            QThread::msleep(LockRetryMs);
        } catch (const Xapian::Error& error) {
            if (damaged || !QDir(folder).removeRecursively()) {
                out.note = QStringLiteral("Поисковый индекс не открывается: ") +
                           FromUtf8(error.get_description());
                return out;
            }
            damaged = true;
        }
    }
    if (!present)
        fill(out, programFolder, progress, damaged);
    return out;
}

} // namespace search
