#include "processing/retention.h"

#include "processing/archive_issues.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Everything inside folder but the names in spared; links are removed, not
// followed.
bool deleteContents(const QString& folder, const QStringList& spared = {}) {
    QDir dir(folder);
    bool ok = true;
    const auto entries =
        dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        if (spared.contains(entry.fileName()))
            continue;
        if (entry.isDir() && !entry.isSymLink())
            ok = deleteContents(entry.filePath()) && dir.rmdir(entry.fileName()) && ok;
        else
            ok = dir.remove(entry.fileName()) && ok;
    }
    return ok;
}

} // namespace

bool DeleteIssueFolder(const QString& folder, const QString& downloadFolder) {
    const QFileInfo info(folder);
    if (info.isSymLink() || !SameFolder(info.absolutePath(), downloadFolder) ||
        SameFolder(folder, downloadFolder) || !ReadArchivedIssue(folder))
        return false;
    const QString index = QStringLiteral("index.htm");
    bool ok = deleteContents(folder, {index});
    ok = ok && QFile::remove(folder + "/" + index) && QDir(downloadFolder).rmdir(info.fileName());
    const QFileInfo book(EpubPathOf(QDir::cleanPath(info.absoluteFilePath())));
    if (book.exists() || book.isSymLink())
        ok = QFile::remove(book.filePath()) && ok;
    return ok;
}

RetentionResult RetireOldIssues(const QString& downloadFolder, int16_t source,
                                const RetentionRule& rule, const QString& justDownloaded,
                                const QDate& today) {
    RetentionResult result;
    if (rule.keepIssues <= 0 && rule.keepDays <= 0)
        return result;
    int rank = 0;
    for (const ArchivedIssue& issue : ListArchivedIssues(downloadFolder)) {
        if (issue.source != source || !issue.issueDate.isValid())
            continue;
        ++rank;
        if (SameFolder(issue.folder, justDownloaded))
            continue;
        const bool tooMany = rule.keepIssues > 0 && rank > rule.keepIssues;
        const bool tooOld = rule.keepDays > 0 && issue.builtOn.isValid() &&
                            issue.builtOn.daysTo(today) > rule.keepDays;
        if (!tooMany && !tooOld)
            continue;
        if (DeleteIssueFolder(issue.folder, downloadFolder))
            result.deleted.append(issue.name);
        else
            result.failed.append(issue.name);
    }
    return result;
}
