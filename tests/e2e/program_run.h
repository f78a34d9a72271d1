#pragma once
// The real norvel2 program started as a scheduler starts it: no DISPLAY, no
// WAYLAND_DISPLAY, no QT_QPA_PLATFORM, the program folder named by
// NORVEL_HOME. What it printed and how it ended are kept.

#include "settings/settings.h"

#include <QProcess>
#include <QString>
#include <QStringList>
#include <functional>

struct ProgramRun {
    bool finished = false; // ended by itself within the time allowed
    int exitCode = -1;
    QString out, err; // standard output and error, UTF-8
    qint64 ms = 0;
};

// The program's environment: the caller's without any display, NORVEL_HOME
// set to home.
QProcessEnvironment ProgramEnvironment(const QString& home);

// Starts norvel2 with the arguments and returns at once.
void StartProgram(QProcess& program, const QString& home, const QStringList& arguments);

// Lets events run until condition holds or timeoutMs have passed; whether
// it holds.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 30'000);

// Runs norvel2 with the arguments (through wrapper, a command and its own
// arguments, when given) and waits at most timeoutMs for it to end.
ProgramRun RunProgram(const QString& home, const QStringList& arguments,
                      const QStringList& wrapper = {}, int timeoutMs = 60'000);

// Writes home's options.ini: the defaults changed by change.
void WriteOptions(const QString& home, const std::function<void(Settings&)>& change);
