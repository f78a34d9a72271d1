#pragma once
// The real program norvel2 started the way a scheduler or a user without a
// display starts it: no DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM (the
// program picks the offscreen platform and says its messages on standard
// error), in the environment a test gives.

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// The test's environment without any display; NORVEL_HOME set to home when
// home is not empty, else removed.
QProcessEnvironment NoDisplayEnvironment(const QString& home);

struct ProgramOutcome {
    bool finished = false; // ended by itself within the time given
    int exitCode = -1;
    QByteArray out, err;
    // Standard error as text (messages are UTF-8).
    QString errText() const { return QString::fromUtf8(err); }
};

// Runs program (default: the built norvel2) with arguments to its end, or
// kills it after timeoutMs.
ProgramOutcome RunProgramToEnd(const QStringList& arguments, const QProcessEnvironment& env,
                               int timeoutMs = 120'000, QString program = {});

// The built norvel2.
QString BuiltProgram();
