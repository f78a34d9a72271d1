// norvel-screenshots: draws the program's windows on the offscreen platform
// in a program folder of its own (a copy of the data/ folder beside this
// program) and writes one PNG per window state. Without --scale or --dark it
// writes three sets: OUTDIR itself, OUTDIR/scale2 (at twice the pixels, as
// on a high-density screen) and OUTDIR/dark (in a dark palette), the last
// two by starting itself again, since the scale is fixed when the toolkit
// starts. One function per group of windows. Each window is also checked
// for a text it squeezes: named on standard error, and the exit status is 1.
#include "tools/screenshots/archive_shots.h"
#include "tools/screenshots/settings_shots.h"
#include "tools/screenshots/window_shots.h"
#include "ui/toolkit_russian.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QPalette>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>

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

// The scale asked for, read before the toolkit starts: it takes the scale
// from the environment then only.
QByteArray ScaleArgument(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--scale") == 0 && i + 1 < argc)
            return argv[i + 1];
        if (std::strncmp(argv[i], "--scale=", 8) == 0)
            return argv[i] + 8;
    }
    return {};
}

// A dark theme as a desktop gives it: light text on dark grey, the link
// colour left at the toolkit's blue.
QPalette DarkPalette() {
    return QPalette(QColor(53, 53, 53), QColor(45, 45, 45));
}

// Each group of windows gets a program folder of its own, so what one
// group saves (a proxy in the settings, say) never reaches the next.
bool WriteAllShots(const QString& outDir, QStringList& written) {
    using ShotWriter = bool (*)(const QString&, const QString&, QStringList&);
    bool allWritten = true;
    for (ShotWriter write : {WriteSettingsShots, WriteWindowShots, WriteArchiveShots}) {
        QTemporaryDir home;
        if (!home.isValid() || !CopyDataFolder(home.path())) {
            std::fprintf(stderr, "norvel-screenshots: cannot prepare a program folder\n");
            return false;
        }
        qputenv("NORVEL_HOME", home.path().toLocal8Bit());
        allWritten = write(home.path(), outDir, written) && allWritten;
    }
    return allWritten;
}

// This program again with arguments; its pictures join written.
bool RunVariant(const QStringList& arguments, QStringList& written) {
    QProcess variant;
    variant.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    variant.start(QCoreApplication::applicationFilePath(), arguments);
    if (!variant.waitForFinished(600'000))
        return false;
    for (const QString& line : QString::fromLocal8Bit(variant.readAllStandardOutput()).split('\n'))
        if (!line.isEmpty())
            written.append(line);
    return variant.exitStatus() == QProcess::NormalExit && variant.exitCode() == 0;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QByteArray scale = ScaleArgument(argc, argv);
    if (!scale.isEmpty())
        qputenv("QT_SCALE_FACTOR", scale);
    QApplication application(argc, argv);
    LoadToolkitRussian(application);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Draws every window of the program into PNG pictures in OUTDIR: the windows as they "
        "are, then the same at scale 2 in OUTDIR/scale2 and in a dark palette in OUTDIR/dark.");
    parser.addHelpOption();
    const QCommandLineOption scaleOption(
        "scale", "Only this set, at FACTOR times the pixels (2, 1.5).", "FACTOR");
    const QCommandLineOption darkOption("dark", "Only this set, in a dark palette.");
    parser.addOption(scaleOption);
    parser.addOption(darkOption);
    parser.addPositionalArgument("OUTDIR", "The folder the pictures are written to.");
    parser.process(application);
    if (parser.positionalArguments().size() != 1) {
        std::fprintf(stderr, "%s", qPrintable(parser.helpText()));
        return 2;
    }
    bool scaleIsNumber = false;
    if (parser.isSet(scaleOption) &&
        (parser.value(scaleOption).toDouble(&scaleIsNumber) <= 0 || !scaleIsNumber)) {
        std::fprintf(stderr, "norvel-screenshots: --scale wants a number above 0\n");
        return 2;
    }
    const QString outDir = QDir(parser.positionalArguments().first()).absolutePath();
    if (!QDir().mkpath(outDir)) {
        std::fprintf(stderr, "norvel-screenshots: cannot make %s\n", qPrintable(outDir));
        return 2;
    }
    if (parser.isSet(darkOption))
        QApplication::setPalette(DarkPalette());

    QStringList written;
    bool allWritten = WriteAllShots(outDir, written);
    if (!parser.isSet(scaleOption) && !parser.isSet(darkOption)) {
        allWritten = RunVariant({"--scale", "2", outDir + "/scale2"}, written) && allWritten;
        allWritten = RunVariant({"--dark", outDir + "/dark"}, written) && allWritten;
    }
    for (const QString& file : written)
        std::printf("%s\n", qPrintable(file));
    return allWritten ? 0 : 1;
}
