#pragma once
// The real program norvel2 from the build started with one switch on the
// offscreen platform, its program folder named by NORVEL_HOME; waits for it
// to end by itself (killed after timeoutMs).

#include <QByteArray>
#include <QString>

struct ProgramRun {
    int exitCode = -1;
    bool finished = false;
    qint64 ms = 0;
    QByteArray errors; // what it wrote to standard error
};

ProgramRun RunProgram(const QString& home, const QString& switchText, int timeoutMs = 120'000);

// The program started without a switch, as a user starts it, with no display
// variable set (it picks the offscreen platform itself), its windows driven
// by the steps of driverScript (see ui_driver/ui_driver.cpp). It ends when
// the steps close it.
ProgramRun RunDrivenProgram(const QString& home, const QString& driverScript,
                            int timeoutMs = 120'000);
