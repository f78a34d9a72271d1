#pragma once
// The archive window with its list and with the preview of a demo issue,
// the archive copier in the middle of a copy, and the main window offering
// a downloaded issue ("Открыть номер").

#include <QString>
#include <QStringList>

// Downloads demo issues into the program folder programFolder (which holds
// data/), writes the pictures into outDir and appends their paths to
// written. False when the issues or a picture could not be made.
bool WriteArchiveShots(const QString& programFolder, const QString& outDir, QStringList& written);
