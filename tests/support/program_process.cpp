#include "tests/support/program_process.h"

#include "tests/support/temp_program_folder.h"

QProcessEnvironment NoDisplayEnvironment(const QString& home) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(name);
    if (home.isEmpty())
        env.remove("NORVEL_HOME");
    else
        env.insert("NORVEL_HOME", home);
    return env;
}

QString BuiltProgram() {
    return TempProgramFolder::binDir() + "/norvel2";
}

ProgramOutcome RunProgramToEnd(const QStringList& arguments, const QProcessEnvironment& env,
                               int timeoutMs, QString program) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program.isEmpty() ? BuiltProgram() : program, arguments);
    ProgramOutcome outcome;
    outcome.finished = process.waitForFinished(timeoutMs);
    if (!outcome.finished) {
        process.kill();
        process.waitForFinished();
    }
    outcome.exitCode = process.exitCode();
    outcome.out = process.readAllStandardOutput();
    outcome.err = process.readAllStandardError();
    return outcome;
}
