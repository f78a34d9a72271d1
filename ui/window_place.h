#pragma once
// Where a window was: its position and size are kept in options.ini, section
// [Windows], keys <name>Left, <name>Top, <name>Width, <name>Height, written
// when it closes and taken when it opens again. A place that no longer fits
// (a smaller screen, a screen gone) is moved and shrunk onto the screen.

#include <QString>

class QWidget;

// Places window where it was last closed; leaves it as it is when the
// settings file has no place for name.
void RestoreWindowPlace(QWidget& window, const QString& optionsFile, const char* name);
void SaveWindowPlace(const QWidget& window, const QString& optionsFile, const char* name);
