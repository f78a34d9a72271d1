#pragma once
// Where the program keeps everything: the executable's folder, unless the
// environment variable NORVEL_HOME names another (tests and the demo use it).

#include <QString>

QString ProgramFolder();
