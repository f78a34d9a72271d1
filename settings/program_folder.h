#pragma once
// Where the program keeps everything (options.ini, data/, cashe/, temp/,
// Download/), its program folder:
// 1. the folder NORVEL_HOME names, when it is set;
// 2. else the executable's folder, when it holds data/ and may be written:
//    a portable copy (and the build's bin/);
// 3. else the user's data folder, $XDG_DATA_HOME/norvel (normally
//    ~/.local/share/norvel), whose data/ is copied from the installation
//    (SyncInstalledData) — an installed program, whose own folders belong
//    to the system.

#include <QString>

struct ProgramFolderPlace {
    QString folder;        // without a trailing "/"
    QString installedData; // case 3: the installation's data/ to copy from; else empty
};

// The rule above over the facts it needs: NORVEL_HOME (empty when unset),
// the executable's folder, whether that folder may be written, and the
// user's data folder ($XDG_DATA_HOME or ~/.local/share).
ProgramFolderPlace LocateProgramFolder(const QString& norvelHome, const QString& executableFolder,
                                       bool executableFolderWritable,
                                       const QString& userDataFolder);

// The rule over this process: its environment and executable.
ProgramFolderPlace LocateProgramFolder();
QString ProgramFolder();

// The archive folder of a program folder, programFolder + "/Download": the
// one place that names it.
QString ArchiveFolderPath(const QString& programFolder);

// The data/ an installation ships: beside the executable (a copy that keeps
// its data with it), else <prefix>/share/norvel2/data for an executable in
// <prefix>/bin.
QString InstalledDataFolder(const QString& executableFolder);
