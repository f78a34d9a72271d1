#pragma once
// A program folder for the pictures, made the way a user's is: the data
// folder of the built program, a demo site on loopback named in sites.ini,
// and the newest newspaper and magazine issues downloaded into Download by
// the program itself (norvel2 -kp, norvel2 -kt). Removed when it goes.

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

class DemoHome {
public:
    DemoHome();
    ~DemoHome();
    // Whether both issues were downloaded; error() says why not.
    bool ready() const { return error_.isEmpty(); }
    QString error() const { return error_; }
    QString path() const { return dir_.path() + "/home"; }
    // A folder beside the program folder, made empty.
    QString scratch(const QString& name) const;

private:
    bool copyData();
    bool startSite();
    bool download(const QString& switchText);

    QTemporaryDir dir_;
    QProcess site_;
    QString error_;
};
