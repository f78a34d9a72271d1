#pragma once
// The program's own version: shown in the main window's caption and the
// update message, and compared with the update server's by the version check.

constexpr char ProgramVersion[] = "2.1.7";
