#pragma once
// The folder chooser and the file-open dialog behind two calls that return
// a path as text: the full path chosen, or empty text when the user cancels.
// The settings window takes the copy folder and the processing script
// through them.

#include <QString>

class QWidget;

// Folders of the file system only.
QString OpenFolder(const QString& Title, QWidget* window);

// Filter in the dialog's form, "description (pattern ...)"; the dialog
// starts in the current folder.
QString OpenFile(const QString& Title, const QString& filter, QWidget* window);
