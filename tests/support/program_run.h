#pragma once
// The real program norvel2 from the build started with one switch on the
// offscreen platform, its program folder named by NORVEL_HOME; waits for it
// to end by itself (killed after timeoutMs).

#include <QString>

struct ProgramRun {
    int exitCode = -1;
    bool finished = false;
    qint64 ms = 0;
};

ProgramRun RunProgram(const QString& home, const QString& switchText, int timeoutMs = 120'000);
