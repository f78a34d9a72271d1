#pragma once
// A fresh program folder for one test: a temporary directory with a copy of
// the built data/ folder, named by NORVEL_HOME while the object lives; and
// what tests write into a program folder and look for in it.

#include "settings/settings.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

class TempProgramFolder {
public:
    explicit TempProgramFolder(bool withData = true);
    ~TempProgramFolder();

    QString path() const { return dir_.path(); }
    QString file(const QString& relative) const { return dir_.path() + "/" + relative; }
    // Writes bytes to a file under the folder, creating its parent folders.
    void write(const QString& relative, const QByteArray& bytes) const;
    QByteArray read(const QString& relative) const;

    // The folder the built programs and data/ live in.
    static QString binDir();

private:
    QTemporaryDir dir_;
    QByteArray oldHome_;
    bool hadHome_ = false;
};

// Copies the built data/ folder into programFolder/data.
void CopyBuiltData(const QString& programFolder);

// The bytes of the file at path; empty when it cannot be read.
QByteArray ReadFileBytes(const QString& path);

// Writes home/options.ini with the default settings as change leaves them.
void WriteOptions(const QString& home, const std::function<void(Settings&)>& change);

// The names of the folders under home/Download.
QStringList IssueFolders(const QString& home);

// The one issue folder under home/Download, or empty when there is not
// exactly one.
QString OnlyIssueFolder(const QString& home);
