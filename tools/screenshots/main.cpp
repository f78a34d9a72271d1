// norvel-screenshots OUTDIR: draws the program's windows on the offscreen
// platform in a program folder of its own (a copy of the data/ folder beside
// this program) and writes one PNG per window state into OUTDIR. One
// function per group of windows.
#include "tools/screenshots/archive_shots.h"
#include "tools/screenshots/settings_shots.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

namespace {

bool CopyDataFolder(const QString& programFolder) {
    const QDir source(QCoreApplication::applicationDirPath() + "/data");
    if (!source.exists() || !QDir().mkpath(programFolder + "/data"))
        return false;
    for (const QString& name : source.entryList(QDir::Files))
        if (!QFile::copy(source.filePath(name), programFolder + "/data/" + name))
            return false;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: norvel-screenshots OUTDIR\n");
        return 2;
    }
    const QString outDir = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    if (!QDir().mkpath(outDir)) {
        std::fprintf(stderr, "norvel-screenshots: cannot make %s\n", qPrintable(outDir));
        return 2;
    }

    // Each group of windows gets a program folder of its own, so what one
    // group saves (a proxy in the settings, say) never reaches the next.
    using ShotWriter = bool (*)(const QString&, const QString&, QStringList&);
    QStringList written;
    bool allWritten = true;
    for (ShotWriter write : {WriteSettingsShots, WriteArchiveShots}) {
        QTemporaryDir home;
        if (!home.isValid() || !CopyDataFolder(home.path())) {
            std::fprintf(stderr, "norvel-screenshots: cannot prepare a program folder\n");
            return 2;
        }
        qputenv("NORVEL_HOME", home.path().toLocal8Bit());
        allWritten = write(home.path(), outDir, written) && allWritten;
    }
    for (const QString& file : written)
        std::printf("%s\n", qPrintable(file));
    return allWritten ? 0 : 1;
}
