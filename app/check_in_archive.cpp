#include "app/check_in_archive.h"

#include <QDir>
#include <QFile>

std::optional<ByteText> IssueNumberOfIndex(const ByteText& index) {
    const qsizetype end = index.indexOf(")</div>");
    if (end < 0)
        return std::nullopt;
    const qsizetype open = index.lastIndexOf('(', end);
    if (open < 0)
        return std::nullopt;
    return index.mid(open + 1, end - open - 1);
}

bool CheckInArchive(const QString& programFolder, const ByteText& number) {
    const QString archive = programFolder + "/Download";
    QDir().mkpath(archive);
    const QStringList folders =
        QDir(archive).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& folder : folders) {
        QFile index(archive + "/" + folder + "/index.htm");
        if (!index.open(QIODevice::ReadOnly))
            continue;
        const std::optional<ByteText> found = IssueNumberOfIndex(index.readAll());
        if (found && *found == number)
            return true;
    }
    return false;
}
