#pragma once
// How the main window reaches the archive's windows: "Архив" opens the
// archive window over it, "Открыть номер" opens the downloaded issue's index
// page the way the archive window's "Открыть" does.

class MainController;
class Messenger;
class QWidget;

void WireArchiveWindows(MainController& controller, Messenger& messenger, QWidget* window);
