#include "tools/screenshots/demo_issues.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

namespace {

constexpr int SiteStartMs = 15'000;
constexpr int DownloadMs = 120'000;

QString binDir() {
    return QCoreApplication::applicationDirPath();
}

// The site ends with the process object; should this program end abruptly,
// it ends with its standard input.
bool startSite(QProcess& site, const QString& sitesFile) {
    site.setStandardOutputFile(QProcess::nullDevice());
    site.start(binDir() + "/norvel-demosite", {"--write-sites", sitesFile, "--exit-with-stdin"});
    for (int waited = 0; !QFileInfo::exists(sitesFile) && waited < SiteStartMs; waited += 20) {
        if (site.state() == QProcess::NotRunning)
            return false;
        QThread::msleep(20);
    }
    // The profile is written whole once the servers listen.
    QThread::msleep(50);
    return QFileInfo::exists(sitesFile);
}

bool download(const QString& programFolder, const QString& switchText) {
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("NORVEL_HOME", programFolder);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(binDir() + "/norvel2", {switchText});
    if (program.waitForFinished(DownloadMs))
        return program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0;
    program.kill();
    program.waitForFinished();
    return false;
}

} // namespace

QString DownloadDemoIssues(const QString& programFolder) {
    QTemporaryDir siteDir;
    QProcess site;
    const QString sitesFile = siteDir.filePath("sites.ini");
    const QString installed = programFolder + "/sites.ini";
    QFile::remove(installed);
    if (!startSite(site, sitesFile) || !QFile::copy(sitesFile, installed))
        return QStringLiteral("the demo site did not start");
    QString error;
    for (const QString& source : {QStringLiteral("-kp"), QStringLiteral("-kt")}) {
        if (error.isEmpty() && !download(programFolder, source))
            error = "norvel2 " + source + " did not download the demo issue";
    }
    site.kill();
    site.waitForFinished();
    return error;
}
