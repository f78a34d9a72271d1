#pragma once
// The real norvel2 as a process a test watches while it runs: started the
// way a scheduler starts it (no display variable, the program folder named
// by NORVEL_HOME), optionally through a wrapper command such as setpriv.

#include <QProcess>
#include <QString>
#include <QStringList>
#include <functional>

// Starts norvel2 with the arguments (through wrapper, a command and its own
// arguments, when given) in the program folder home, and returns at once.
void StartNorvel(QProcess& program, const QString& home, const QStringList& arguments,
                 const QStringList& wrapper = {});

// Lets events run until condition holds or timeoutMs have passed; whether
// it holds.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 30'000);
