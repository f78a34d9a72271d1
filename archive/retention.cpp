#include "archive/retention.h"

#include "processing/archive_issues.h"
#include "processing/safe_file_name.h"

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

// Whether name is one the program gives the issue's folder: its number, or
// its date as DD.MM.YYYY or YYYY.MM.DD, with ".KT" for the magazine. A
// user's copy of a folder ("2006.11.20 - copy") never is.
bool NameTheProgramGave(const QString& name, const ArchivedIssue& issue) {
    QString base = name;
    if (issue.source == 2 && !base.endsWith(QLatin1String(".KT")))
        return false;
    if (issue.source == 2)
        base.chop(3);
    if (!issue.number.isEmpty() && base == FileNameOf(SafeFileName(issue.number)))
        return true;
    const QDate date = issue.issueDate;
    return date.isValid() && (base == date.toString(QStringLiteral("dd.MM.yyyy")) ||
                              base == date.toString(QStringLiteral("yyyy.MM.dd")));
}

} // namespace

bool DeleteIssueFolder(const QString& folder, const QString& downloadFolder) {
    const QFileInfo info(folder);
    if (info.isSymLink() || !SameFolder(info.absolutePath(), downloadFolder) ||
        SameFolder(folder, downloadFolder))
        return false;
    const std::optional<ArchivedIssue> issue = ReadArchivedIssue(folder);
    if (!issue || !NameTheProgramGave(info.fileName(), *issue))
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
        if (issue.source != source || !issue.issueDate.isValid() ||
            !NameTheProgramGave(issue.name, issue))
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
