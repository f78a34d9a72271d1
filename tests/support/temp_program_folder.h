#pragma once
// A fresh program folder for one test: a temporary directory with a copy of
// the built data/ folder, named by NORVEL_HOME while the object lives.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

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
