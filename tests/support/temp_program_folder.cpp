#include "tests/support/temp_program_folder.h"

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
    if (withData) {
        QDir().mkpath(file("data"));
        QDir source(binDir() + "/data");
        for (const QString& name : source.entryList(QDir::Files))
            QFile::copy(source.filePath(name), file("data/" + name));
    }
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
    QFile f(file(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
