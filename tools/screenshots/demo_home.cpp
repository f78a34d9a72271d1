#include "tools/screenshots/demo_home.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

namespace {

constexpr int RunTimeoutMs = 120'000;

QString binDir() {
    return QCoreApplication::applicationDirPath();
}

} // namespace

DemoHome::DemoHome() {
    if (!dir_.isValid()) {
        error_ = QStringLiteral("no temporary folder");
        return;
    }
    QDir().mkpath(path());
    if (copyData() && startSite())
        download(QStringLiteral("-kp")) && download(QStringLiteral("-kt"));
}

DemoHome::~DemoHome() {
    site_.kill();
    site_.waitForFinished();
}

QString DemoHome::scratch(const QString& name) const {
    const QString folder = dir_.path() + "/" + name;
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    return folder;
}

bool DemoHome::copyData() {
    const QDir source(binDir() + "/data");
    QDir().mkpath(path() + "/data");
    for (const QString& name : source.entryList(QDir::Files))
        QFile::copy(source.filePath(name), path() + "/data/" + name);
    if (source.isEmpty())
        error_ = "no data folder beside the program: " + source.path();
    return error_.isEmpty();
}

// The site runs as long as the folder is there; should this program end
// abruptly, it ends with its standard input.
bool DemoHome::startSite() {
    const QString sites = dir_.path() + "/sites.ini";
    QProcess* site = &site_;
    site->setStandardOutputFile(QProcess::nullDevice());
    site->start(binDir() + "/norvel-demosite", {"--write-sites", sites, "--exit-with-stdin"});
    for (int waited = 0; !QFileInfo::exists(sites) && waited < 15'000; waited += 20) {
        if (site->state() == QProcess::NotRunning)
            break;
        QThread::msleep(20);
    }
    if (!QFileInfo::exists(sites) || !QFile::copy(sites, path() + "/sites.ini")) {
        error_ = QStringLiteral("the demo site did not start");
        return false;
    }
    return true;
}

bool DemoHome::download(const QString& switchText) {
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("NORVEL_HOME", path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(binDir() + "/norvel2", {switchText});
    if (!program.waitForFinished(RunTimeoutMs) || program.exitCode() != 0) {
        program.kill();
        error_ = "norvel2 " + switchText + " did not download the demo issue";
        return false;
    }
    return true;
}
