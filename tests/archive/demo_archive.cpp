#include "tests/archive/demo_archive.h"

#include "archive/issue_folder.h"
#include "tests/support/demo_site.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_program_folder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

namespace {

// What made the archive: the programs' build times.
QByteArray makersStamp() {
    QByteArray stamp;
    for (const char* program : {"norvel2", "norvel-demosite"})
        stamp += QByteArray::number(QFileInfo(TempProgramFolder::binDir() + "/" + program)
                                        .lastModified()
                                        .toMSecsSinceEpoch()) +
                 "\n";
    return stamp;
}

QString download(const QString& home) {
    DemoSite site;
    if (!site.isRunning() || !site.installInto(home))
        return "demo site: " + site.error();
    for (const QString& source : {QStringLiteral("-kp"), QStringLiteral("-kt")}) {
        const ProgramRun run = RunProgram(home, source);
        if (!run.finished || run.exitCode != 0)
            return "norvel2 " + source + " failed: " + QString::fromLocal8Bit(run.errors);
    }
    return {};
}

DemoIssues make() {
    DemoIssues issues;
    const QString root = NORVEL_DEMO_ARCHIVE_DIR;
    const QString home = root + "/home";
    issues.archive = home + "/Download";
    QLockFile lock(root + ".lock");
    lock.lock();
    const QString stampFile = root + "/stamp";
    if (ReadFileBytes(stampFile) != makersStamp()) {
        QDir(root).removeRecursively();
        CopyBuiltData(home);
        issues.error = download(home);
        QFile stamp(stampFile);
        if (issues.error.isEmpty() && stamp.open(QIODevice::WriteOnly))
            stamp.write(makersStamp());
    }
    for (const QString& name : QDir(issues.archive).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        (name.endsWith(".KT") ? issues.magazine : issues.newspaper) = name;
    if (issues.error.isEmpty() && (issues.newspaper.isEmpty() || issues.magazine.isEmpty()))
        issues.error = "the demo archive lacks an issue: " + issues.archive;
    return issues;
}

} // namespace

const DemoIssues& DownloadedDemoIssues() {
    static const DemoIssues issues = make();
    return issues;
}

QString CopyDemoIssue(const TempProgramFolder& home, const QString& name, const QString& newName) {
    const QString target = home.file("Download/" + (newName.isEmpty() ? name : newName));
    CopyFolder(DownloadedDemoIssues().archive + "/" + name, target);
    return target;
}
