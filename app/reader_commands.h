#pragma once
// The e-reader commands of norvel2, run without a window and without taking
// the program's single-copy lock (a download may run beside them):
//   norvel2 --epub FOLDER   makes the e-book of an issue folder
//   norvel2 --serve [PORT]  serves the archive's catalogue to e-readers on
//                           the local network until the program is stopped
// FOLDER is a path, or the name of an issue folder in the archive.

#include <cstring>
#include <optional>

// Whether argv names one of the commands; header-only, so that norvel2,
// which hands them to norvel2-gui, tells them apart without the book tools.
inline bool IsReaderCommand(int argc, char** argv) {
    return argc >= 2 &&
           (std::strcmp(argv[1], "--epub") == 0 || std::strcmp(argv[1], "--serve") == 0);
}

// The exit status of the command argv names (0 done, 1 failed, 2 could not
// start: a wrong argument, a port taken), or nothing when argv names none of
// them.
std::optional<int> RunReaderCommand(int argc, char** argv);
