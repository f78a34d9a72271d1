#include "archive/issue_list.h"

#include <QDir>
#include <QFileInfo>

QStringList ListArchiveFolders(const QString& programFolder) {
    return QDir(ArchiveFolderPath(programFolder))
        .entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

QStringList ListArchiveIssues(const QString& programFolder) {
    const QString archive = ArchiveFolderPath(programFolder);
    QStringList issues;
    for (const QString& name : ListArchiveFolders(programFolder)) {
        if (QFileInfo(archive + "/" + name + "/index.htm").isFile())
            issues.append(name);
    }
    return issues;
}

int CountPageFiles(const QString& issueFolder) {
    return int(QDir(issueFolder, QStringLiteral("page*.html"), QDir::NoSort, QDir::Files).count());
}

int CountImageFiles(const QString& issueFolder) {
    const QString img = issueFolder + "/img";
    const QString folder = QFileInfo(img).isDir() ? img : issueFolder;
    return int(QDir(folder, QString(), QDir::NoSort, QDir::Files | QDir::Hidden).count());
}
