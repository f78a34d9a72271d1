#pragma once
// How other windows reach the archive's windows: the main window's "Архив"
// opens the archive window over it, its "Открыть номер" opens the downloaded
// issue's index page the way the archive window's "Открыть" does, and the
// settings window's "Скопировать весь архив" opens the archive copier.

#include <functional>

struct AppState;
class MainController;
class Messenger;
class QWidget;

void WireArchiveWindows(MainController& controller, Messenger& messenger, QWidget* window);

// Opens the archive copier modally over parent for the program's archive and
// its copy folder FolderToCopy as it stands when called.
std::function<void()> ArchiveCopierOpener(AppState& app, Messenger& messenger, QWidget* parent);
