#include "archive/check_in_archive.h"
#include "settings/program_folder.h"

#include "processing/issue_index.h"
#include "settings/whole_file.h"

#include <QDir>

std::optional<ByteText> IssueNumberOfIndex(const ByteText& index) {
    const qsizetype end = index.indexOf(")</div>");
    if (end < 0)
        return std::nullopt;
    const qsizetype open = index.lastIndexOf('(', end);
    if (open < 0)
        return std::nullopt;
    return index.mid(open + 1, end - open - 1);
}

bool IssueFolderComplete(const QString& folder) {
    const std::optional<ByteText> index = ReadWholeFile(folder + "/index.htm");
    return index && IssueIndexComplete(*index);
}

QString ArchivedIssueFolder(const QString& programFolder, const ByteText& number) {
    const QString archive = ArchiveFolderPath(programFolder);
    QDir().mkpath(archive);
    const QStringList folders =
        QDir(archive).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& folder : folders) {
        const QString path = archive + "/" + folder;
        const std::optional<ByteText> index = ReadWholeFile(path + "/index.htm");
        if (!index)
            continue;
        const std::optional<ByteText> found = IssueNumberOfIndex(*index);
        if (found && *found == number && IssueIndexComplete(*index))
            return path;
    }
    return {};
}

bool CheckInArchive(const QString& programFolder, const ByteText& number) {
    return !ArchivedIssueFolder(programFolder, number).isEmpty();
}
