#pragma once
// The built programs run from the tests the way a scheduler starts them: the
// test's own environment without DISPLAY, WAYLAND_DISPLAY or
// QT_QPA_PLATFORM, so the program picks the offscreen platform itself, and
// the program folder named by NORVEL_HOME. Two forms: run to the end, or
// start and watch while it runs.

#include "settings/bytetext.h"

#include <QProcess>
#include <QString>
#include <QStringList>
#include <functional>

struct ProgramStart {
    ProgramStart(const QString& home, const QStringList& arguments,
                 const QStringList& environment = {})
        : home(home), arguments(arguments), environment(environment) {}

    QString home; // NORVEL_HOME; without one the variable is removed
    QStringList arguments;
    QStringList environment; // more "NAME=value" entries, set after the rule above
    QString program;         // empty: the built norvel2
    QStringList wrapper;     // a command and its arguments that start the program (setpriv)
};

struct ProgramRun {
    bool finished = false; // ended by itself within the time given
    int exitCode = -1;     // -1 when it crashed or was killed
    qint64 ms = 0;
    ByteText output, errors; // standard output and standard error

    // Standard error as text (the programs write UTF-8).
    QString errorText() const { return QString::fromUtf8(errors); }
};

// Runs the program to its end, or kills it after timeoutMs.
ProgramRun RunProgram(const ProgramStart& start, int timeoutMs = 60'000);

// The usual run: norvel2 with switchText in the program folder home, with
// more "NAME=value" environment entries.
ProgramRun RunProgram(const QString& home, const QString& switchText,
                      const QStringList& environment = {}, int timeoutMs = 60'000);

// Starts the program in process and returns at once; the test watches it
// and ends it.
void StartProgram(QProcess& process, const ProgramStart& start);

// Lets events run until condition holds or timeoutMs have passed; whether
// it holds.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 30'000);

// norvel2 started without a switch, as a user starts it, on the offscreen
// platform chosen for it, its windows driven by the steps of driverScript
// (see ui_driver/ui_driver.cpp). It ends when the steps close it.
ProgramRun RunDrivenProgram(const QString& home, const QString& driverScript,
                            int timeoutMs = 120'000);
// The same started in process, returning at once.
void StartDrivenProgram(QProcess& process, const QString& home, const QString& driverScript);
