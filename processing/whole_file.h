#pragma once
// Whole-file reads and writes of byte text. Writes go through QSaveFile, so
// a crash or a full disk never leaves half a file in place of the old one.

#include "settings/bytetext.h"

#include <QString>
#include <optional>

// The whole file, or nothing when it cannot be read.
std::optional<ByteText> ReadWholeFile(const QString& path);

// Replaces path with bytes; false when the write was refused.
bool WriteWholeFile(const QString& path, const ByteText& bytes);

// Copies the file from to the file to, replacing it; false on failure. A copy
// of a file onto itself succeeds without touching it.
bool CopyFileOver(const QString& from, const QString& to);
