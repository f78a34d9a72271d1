#pragma once
// Whole-file reads and writes of byte text. A write never leaves half a file
// in place of the old one: the bytes go to a file beside the target first,
// which then takes the target's name.

#include "settings/bytetext.h"

#include <QString>
#include <optional>

// Whether a write waits until the disk holds the bytes. Settings and index
// pages wait, so a power cut cannot lose them; the response cache and the
// pages and pictures of a download do not, since each wait costs more than
// fetching a picture from a nearby server, and a lost file there is fetched
// again.
enum class FileSync { WaitForDisk, NoWait };

// The whole file, or nothing when it cannot be read.
std::optional<ByteText> ReadWholeFile(const QString& path);

// Replaces path with bytes; false when the write was refused. ownerOnly
// leaves the file readable by its owner alone (files that hold a password).
bool WriteWholeFile(const QString& path, const ByteText& bytes,
                    FileSync sync = FileSync::WaitForDisk, bool ownerOnly = false);

// Copies the file from to the file to, replacing it; false on failure. A copy
// of a file onto itself succeeds without touching it.
bool CopyFileOver(const QString& from, const QString& to);
