#include "settings/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <unistd.h>

namespace {

QString withoutTrailingSlash(QString path) {
    path = QDir::cleanPath(path);
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    return path;
}

bool writableFolder(const QString& folder) {
    return ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
}

} // namespace

ProgramFolderPlace LocateProgramFolder(const QString& norvelHome, const QString& executableFolder,
                                       bool executableFolderWritable,
                                       const QString& userDataFolder) {
    if (!norvelHome.isEmpty())
        return {withoutTrailingSlash(norvelHome), {}};
    if (executableFolderWritable && QFileInfo(executableFolder + "/data").isDir())
        return {withoutTrailingSlash(executableFolder), {}};
    return {withoutTrailingSlash(userDataFolder + "/norvel"),
            InstalledDataFolder(executableFolder)};
}

ProgramFolderPlace LocateProgramFolder() {
    const QString executableFolder = QCoreApplication::applicationDirPath();
    return LocateProgramFolder(
        qEnvironmentVariable("NORVEL_HOME"), executableFolder, writableFolder(executableFolder),
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
}

QString ProgramFolder() {
    return LocateProgramFolder().folder;
}

QString InstalledDataFolder(const QString& executableFolder) {
    const QString beside = executableFolder + "/data";
    if (QFileInfo(beside).isDir())
        return beside;
    return QDir::cleanPath(executableFolder + "/" + QLatin1String(NORVEL_DATA_FROM_BIN));
}

QString ArchiveFolderPath(const QString& programFolder) {
    return programFolder + "/Download";
}
