#include "tests/support/temp_program_folder.h"

#include "settings/ini.h"
#include "tests/support/scripted_messenger.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

QString TempProgramFolder::binDir() {
    QString dir = qEnvironmentVariable("NORVEL_BIN_DIR");
    return dir.isEmpty() ? QCoreApplication::applicationDirPath() : dir;
}

TempProgramFolder::TempProgramFolder(bool withData) {
    hadHome_ = qEnvironmentVariableIsSet("NORVEL_HOME");
    oldHome_ = qgetenv("NORVEL_HOME");
    qputenv("NORVEL_HOME", dir_.path().toLocal8Bit());
    if (withData)
        CopyBuiltData(path());
}

TempProgramFolder::~TempProgramFolder() {
    if (hadHome_)
        qputenv("NORVEL_HOME", oldHome_);
    else
        qunsetenv("NORVEL_HOME");
}

void TempProgramFolder::write(const QString& relative, const QByteArray& bytes) const {
    QString target = file(relative);
    QDir().mkpath(QFileInfo(target).path());
    QFile f(target);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

QByteArray TempProgramFolder::read(const QString& relative) const {
    return ReadFileBytes(file(relative));
}

void CopyBuiltData(const QString& programFolder) {
    QDir().mkpath(programFolder + "/data");
    const QDir source(TempProgramFolder::binDir() + "/data");
    for (const QString& name : source.entryList(QDir::Files))
        QFile::copy(source.filePath(name), programFolder + "/data/" + name);
}

QByteArray ReadFileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteOptions(const QString& home, const std::function<void(Settings&)>& change) {
    Settings settings;
    SetDefaults(settings, home);
    change(settings);
    INI ini;
    ScriptedMessenger messenger;
    SaveSettings(settings, ini, home, messenger);
}

QStringList IssueFolders(const QString& home) {
    return QDir(home + "/Download").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
}

QString OnlyIssueFolder(const QString& home) {
    const QStringList folders = IssueFolders(home);
    return folders.size() == 1 ? home + "/Download/" + folders.first() : QString();
}
