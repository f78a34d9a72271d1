#pragma once
// The windows of a download's way that need no archive: "Выберите номер"
// (the newest issue found, and the choice by number after a failed main
// page), "Доступные номера", "Обновление" with its what's-new text, and the
// socket-error window over data/wserror.dat.

#include <QString>
#include <QStringList>

// Writes the pictures into outDir over the program folder programFolder
// (which holds data/) and appends their paths to written. False when one
// could not be written.
bool WriteWindowShots(const QString& programFolder, const QString& outDir, QStringList& written);
