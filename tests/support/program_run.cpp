#include "tests/support/program_run.h"

#include "tests/support/temp_program_folder.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>

ProgramRun RunProgram(const QString& home, const QString& switchText, int timeoutMs) {
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("NORVEL_HOME", home);
    program.setProcessEnvironment(env);
    QElapsedTimer clock;
    clock.start();
    program.start(TempProgramFolder::binDir() + "/norvel2", {switchText});
    ProgramRun run;
    run.finished = program.waitForFinished(timeoutMs);
    if (!run.finished) {
        program.kill();
        program.waitForFinished();
    }
    run.exitCode = program.exitCode();
    run.ms = clock.elapsed();
    return run;
}
