#pragma once
// The built norvel2 run as a user runs it: NORVEL_HOME names its program
// folder, and no display variable is set, so the program picks the offscreen
// platform itself. With a driver script the program's windows are driven
// like a user's (ui_driver/ui_driver.cpp describes the steps).

#include <QByteArray>
#include <QString>
#include <QStringList>

struct ProgramRun {
    int exitCode = -1;
    bool finished = false;
    qint64 ms = 0;
    QByteArray errors; // standard error
};

// Starts norvel2 with arguments and waits at most timeoutMs for its end (a
// program still running then is killed). driverScript, when not empty, is
// the file of steps the UI driver carries out.
ProgramRun RunProgram(const QString& home, const QStringList& arguments,
                      const QString& driverScript = {}, int timeoutMs = 120'000);
