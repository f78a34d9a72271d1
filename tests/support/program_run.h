#pragma once
// The real norvel2 started the way a scheduler starts it: a program folder
// named by NORVEL_HOME and no display variable at all, so the program picks
// the offscreen platform itself.

#include "settings/bytetext.h"
#include "settings/settings.h"

#include <QString>
#include <QStringList>
#include <functional>

struct ProgramRun {
    bool finished = false; // ended by itself within the time given
    int exitCode = -1;
    qint64 ms = 0;
    ByteText output, errors; // standard output and standard error
};

// Runs build/bin/norvel2 with switchText in the program folder home, with
// extra "NAME=value" environment entries; kills it after timeoutMs.
ProgramRun RunProgram(const QString& home, const QString& switchText,
                      const QStringList& environment = {}, int timeoutMs = 60'000);

// The program started without a switch, as a user starts it, on the
// offscreen platform chosen for it, its windows driven by the steps of
// driverScript (see ui_driver/ui_driver.cpp). It ends when the steps close it.
ProgramRun RunDrivenProgram(const QString& home, const QString& driverScript,
                            int timeoutMs = 120'000);

// Points the settings at the demo site's proxy on proxyPort with the
// credentials the tests start it with (--proxy-auth reader:secret).
void UseDemoProxy(Settings& settings, quint16 proxyPort);

// Writes home/options.ini with the default settings as change leaves them.
void WriteOptions(const QString& home, const std::function<void(Settings&)>& change);

// The one issue folder under home/Download, or empty when there is not
// exactly one.
QString OnlyIssueFolder(const QString& home);
