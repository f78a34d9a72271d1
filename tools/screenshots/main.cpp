// norvel-screenshots OUTDIR: writes one PNG per window state into OUTDIR, on
// the offscreen platform, with a program folder of its own holding demo
// issues. Each group of windows lives in its own file (shots.h).
#include "tools/screenshots/shots.h"

#include <QApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: norvel-screenshots OUTDIR\n");
        return 2;
    }
    const QString outDir = QDir(arguments.at(1)).absolutePath();
    if (!QDir().mkpath(outDir)) {
        std::fprintf(stderr, "cannot make %s\n", qPrintable(outDir));
        return 2;
    }
    bool ok = ArchiveShots(outDir);
    return ok ? 0 : 1;
}
