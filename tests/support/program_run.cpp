#include "tests/support/program_run.h"

#include "tests/support/temp_program_folder.h"

#include <QElapsedTimer>
#include <QTest>

namespace {

QProcessEnvironment EnvironmentOf(const ProgramStart& start) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(name);
    if (start.home.isEmpty())
        env.remove("NORVEL_HOME");
    else
        env.insert("NORVEL_HOME", start.home);
    for (const QString& entry : start.environment)
        env.insert(entry.section('=', 0, 0), entry.section('=', 1));
    return env;
}

QString BuiltProgram() {
    return TempProgramFolder::binDir() + "/norvel2";
}

} // namespace

void StartProgram(QProcess& process, const ProgramStart& start) {
    process.setProcessEnvironment(EnvironmentOf(start));
    const QString program = start.program.isEmpty() ? BuiltProgram() : start.program;
    if (start.wrapper.isEmpty())
        process.start(program, start.arguments);
    else
        process.start(start.wrapper.first(),
                      start.wrapper.mid(1) + QStringList{program} + start.arguments);
}

ProgramRun RunProgram(const ProgramStart& start, int timeoutMs) {
    QProcess process;
    QElapsedTimer clock;
    clock.start();
    StartProgram(process, start);
    ProgramRun run;
    run.finished = process.waitForFinished(timeoutMs);
    if (!run.finished) {
        process.kill();
        process.waitForFinished();
    }
    run.ms = clock.elapsed();
    if (run.finished && process.exitStatus() == QProcess::NormalExit)
        run.exitCode = process.exitCode();
    run.output = process.readAllStandardOutput();
    run.errors = process.readAllStandardError();
    return run;
}

ProgramRun RunProgram(const QString& home, const QString& switchText,
                      const QStringList& environment, int timeoutMs) {
    return RunProgram({home, {switchText}, environment}, timeoutMs);
}

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!condition() && clock.elapsed() < timeoutMs)
        QTest::qWait(10);
    return condition();
}

namespace {

// The windows are run unseen on the platform chosen for them: without any,
// an interactive start refuses to wait on a window nobody sees.
ProgramStart Driven(const QString& home, const QString& driverScript) {
    return {home,
            {},
            {"QT_QPA_PLATFORM=offscreen", "QT_PLUGIN_PATH=" NORVEL_TEST_PLUGIN_DIR,
             "QT_QPA_GENERIC_PLUGINS=norveluidriver:" + driverScript}};
}

} // namespace

ProgramRun RunDrivenProgram(const QString& home, const QString& driverScript, int timeoutMs) {
    return RunProgram(Driven(home, driverScript), timeoutMs);
}

void StartDrivenProgram(QProcess& process, const QString& home, const QString& driverScript) {
    StartProgram(process, Driven(home, driverScript));
}
