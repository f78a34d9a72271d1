#include "tests/e2e/program_run.h"

#include "settings/ini.h"
#include "tests/support/scripted_messenger.h"
#include "tests/support/temp_program_folder.h"

#include <QElapsedTimer>
#include <QTest>

QProcessEnvironment ProgramEnvironment(const QString& home) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(name);
    env.insert("NORVEL_HOME", home);
    return env;
}

void StartProgram(QProcess& program, const QString& home, const QStringList& arguments) {
    program.setProcessEnvironment(ProgramEnvironment(home));
    program.start(TempProgramFolder::binDir() + "/norvel2", arguments);
}

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!condition() && clock.elapsed() < timeoutMs)
        QTest::qWait(10);
    return condition();
}

ProgramRun RunProgram(const QString& home, const QStringList& arguments, const QStringList& wrapper,
                      int timeoutMs) {
    QProcess program;
    program.setProcessEnvironment(ProgramEnvironment(home));
    const QString binary = TempProgramFolder::binDir() + "/norvel2";
    QElapsedTimer clock;
    clock.start();
    if (wrapper.isEmpty())
        program.start(binary, arguments);
    else
        program.start(wrapper.first(), wrapper.mid(1) + QStringList{binary} + arguments);
    ProgramRun run;
    run.finished = program.waitForFinished(timeoutMs);
    if (!run.finished) {
        program.kill();
        program.waitForFinished();
    }
    run.ms = clock.elapsed();
    run.exitCode = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    run.out = QString::fromUtf8(program.readAllStandardOutput());
    run.err = QString::fromUtf8(program.readAllStandardError());
    return run;
}

void WriteOptions(const QString& home, const std::function<void(Settings&)>& change) {
    Settings settings;
    SetDefaults(settings, home);
    change(settings);
    INI ini;
    ScriptedMessenger messenger;
    SaveSettings(settings, ini, home, messenger);
}
