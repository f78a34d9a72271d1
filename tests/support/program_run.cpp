#include "tests/support/program_run.h"

#include "tests/support/temp_program_folder.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>

namespace {

ProgramRun Run(const QProcessEnvironment& env, const QStringList& arguments, int timeoutMs) {
    QProcess program;
    program.setProcessEnvironment(env);
    QElapsedTimer clock;
    clock.start();
    program.start(TempProgramFolder::binDir() + "/norvel2", arguments);
    ProgramRun run;
    run.finished = program.waitForFinished(timeoutMs);
    if (!run.finished) {
        program.kill();
        program.waitForFinished();
    }
    run.exitCode = program.exitCode();
    run.ms = clock.elapsed();
    run.errors = program.readAllStandardError();
    return run;
}

} // namespace

ProgramRun RunProgram(const QString& home, const QString& switchText, int timeoutMs) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("NORVEL_HOME", home);
    return Run(env, {switchText}, timeoutMs);
}

ProgramRun RunDrivenProgram(const QString& home, const QString& driverScript, int timeoutMs) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(display);
    env.insert("NORVEL_HOME", home);
    env.insert("QT_PLUGIN_PATH", NORVEL_TEST_PLUGIN_DIR);
    env.insert("QT_QPA_GENERIC_PLUGINS", "norveluidriver:" + driverScript);
    return Run(env, {}, timeoutMs);
}
