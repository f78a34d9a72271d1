// norvel-demosite: serves the demo site until it is terminated.
#include "tools/demosite/command_line.h"

#include <QCoreApplication>
#include <QSaveFile>
#include <QSocketNotifier>
#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    CommandLine line = parseCommandLine(app.arguments());
    if (!line.ok) {
        std::fprintf(stderr, "norvel-demosite: %s\nTry --help.\n", qPrintable(line.error));
        return 2;
    }
    if (!line.helpText.isEmpty()) {
        std::fputs(qPrintable(line.helpText), stdout);
        return 0;
    }
    DemoServer server(std::move(line.server));
    QString error;
    if (!server.start(&error)) {
        std::fprintf(stderr, "norvel-demosite: %s\n", qPrintable(error));
        return 1;
    }
    const ByteText profile = server.sitesProfile();
    if (!line.sitesFile.isEmpty()) {
        // Written whole and renamed into place, so whoever waits for the file
        // never reads half of it.
        QSaveFile file(line.sitesFile);
        if (!file.open(QIODevice::WriteOnly) || file.write(profile) != profile.size() ||
            !file.commit()) {
            std::fprintf(stderr, "norvel-demosite: cannot write %s: %s\n",
                         qPrintable(line.sitesFile), qPrintable(file.errorString()));
            return 1;
        }
    }
    std::fwrite(profile.constData(), 1, size_t(profile.size()), stdout);
    std::fflush(stdout);
    // A test that starts the server holds its standard input open; when the
    // test ends, even by a crash, the pipe closes and the server goes too.
    QSocketNotifier stdinWatch(STDIN_FILENO, QSocketNotifier::Read);
    stdinWatch.setEnabled(line.exitWithStdin);
    QObject::connect(&stdinWatch, &QSocketNotifier::activated, &app, [&app] {
        char buffer[256];
        if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0)
            app.quit();
    });
    return app.exec();
}
