#include "tests/fuzz/fuzz_check.h"

#include <QGuiApplication>
#include <cstdlib>

namespace fuzz {

void StartGuiApplication() {
    if (QGuiApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "norvel-fuzz";
    static char* argv[] = {name, nullptr};
    // Hostile documents make Qt warn (fonts of size 0 and the like) millions
    // of times; a fuzzer's output is for its findings.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    // Fuzzers end by exit(): the application goes first, so the font caches
    // it frees are not taken for leaks by the check that runs at exit.
    std::atexit([] { delete app; });
}

} // namespace fuzz
