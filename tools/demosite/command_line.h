#pragma once
// The command line of norvel-demosite.

#include "tools/demosite/demo_server.h"

#include <QString>
#include <QStringList>

struct CommandLine {
    ServerOptions server;
    QString sitesFile; // --write-sites
    bool exitWithStdin = false;
    bool ok = false;
    QString error;    // why the command line was refused
    QString helpText; // set when --help was asked for
};

CommandLine parseCommandLine(const QStringList& arguments);
