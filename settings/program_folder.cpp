#include "settings/program_folder.h"

#include <QCoreApplication>
#include <QDir>

QString ProgramFolder() {
    QString home = qEnvironmentVariable("NORVEL_HOME");
    if (home.isEmpty())
        home = QCoreApplication::applicationDirPath();
    home = QDir::cleanPath(home);
    while (home.size() > 1 && home.endsWith('/'))
        home.chop(1);
    return home;
}
