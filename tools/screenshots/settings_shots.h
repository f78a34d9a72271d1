#pragma once
// The settings window, one picture per page, and the about window.

#include <QString>
#include <QStringList>

// Writes the pictures into outDir over the program folder programFolder
// (which holds data/) and appends their paths to written. False when one
// could not be written.
bool WriteSettingsShots(const QString& programFolder, const QString& outDir, QStringList& written);
