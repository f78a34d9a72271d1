#pragma once
// The start of the program before any window: the switches answered on
// standard output, the display looked for, the toolkit quietened where
// nobody reads its notices, and the hand-over from the lean program norvel2
// to the program with the windows, norvel2-gui, which lies beside it.

#include <QString>
#include <cstdio>
#include <memory>
#include <optional>

class QCoreApplication;

// Writes text and a line end to stream at once, CR LF as LF.
void PrintLine(std::FILE* stream, const QString& text);

// The command line as the program reads it, from main's arguments.
QString CommandLineOf(int argc, char** argv);

// Answers --help and --version on standard output with the exit status;
// nothing for any other command line.
std::optional<int> AnswerInfoSwitch(int argc, char** argv);

// Whether no display is named (DISPLAY, WAYLAND_DISPLAY) and no platform
// chosen by hand (QT_QPA_PLATFORM): started by a scheduler, over ssh or
// from a console, where a window could not be shown.
bool DisplayMissing();

// Lets only the toolkit's errors through: its notices about a missing window
// system would fill a scheduler's mail between the program's own lines.
void QuietToolkit();

// The application of a run without any window. Qt's own event dispatcher
// serves its fetches with fewer wake-ups than GLib's, which only a window
// system needs; programs the run starts do not inherit the choice.
std::unique_ptr<QCoreApplication> WindowlessApplication(int& argc, char** argv);

// Replaces this process with norvel2-gui from the folder of the running
// program, with the same arguments; returns only to exit with a message
// when that program cannot be started.
[[noreturn]] void HandOverToWindows(char** argv);
