#pragma once
// What the main window's "Настройки" and "О программе" open: the settings
// window over the program's record and download control, and the about
// window over the host configuration, both modal over the main window.

#include "app/options_controller.h"

class Download_Control;
class MainController;
class QWidget;

// hooks is kept by reference: what the composition sets in it later (the
// archive copier) reaches every settings window opened afterwards.
void WireOptionsAndAbout(MainController& controller, Download_Control& DC, Messenger& messenger,
                         const OptionsHooks& hooks, QWidget* mainWindow);
