#pragma once
// Whole-file reads and writes of byte text. A write never leaves half a file
// in place of the old one: the bytes go to a hidden file beside the target
// first, which then takes the target's name. Every step is checked; when one
// fails (a full disk, a read-only folder) the old file stays as it was, the
// hidden file goes and the write returns false.

#include "settings/bytetext.h"

#include <QString>
#include <cstdint>
#include <optional>

// Whether a write waits until the disk holds the bytes. Settings and the
// index page of a complete issue wait, so a power cut cannot lose them; the
// response cache and the pages, pictures, stylesheet and service pictures of
// a download do not, since each wait costs more than fetching a picture from
// a nearby server, and a lost file there is fetched again.
enum class FileSync { WaitForDisk, NoWait };

// What tells one version of a file from another without reading it: its
// size, modification time and inode number. A file replaced whole (by a
// write below) always gets a new inode.
struct FileStamp {
    bool exists = false;
    int64_t size = -1, mtimeNs = -1, inode = -1;
    bool operator==(const FileStamp&) const = default;
};
FileStamp StampOf(const QString& path);

// The whole file, or nothing when it cannot be read.
std::optional<ByteText> ReadWholeFile(const QString& path);

// Replaces path with bytes; false when any step failed, the old file then
// left as it was. ownerOnly leaves the file readable by its owner alone
// (files that hold a password); otherwise an existing file keeps its
// permissions. A path that is a symbolic link writes the file it points to.
bool WriteWholeFile(const QString& path, const ByteText& bytes,
                    FileSync sync = FileSync::WaitForDisk, bool ownerOnly = false);

// Writes bytes into path itself, truncating what it held; false when any
// step failed. Only for files whose reader checks them whole before use (a
// stored response): a write cut short leaves a half file the reader refuses,
// and the hidden file and its rename of WriteWholeFile are saved.
bool WriteFileInPlace(const QString& path, const ByteText& bytes);

// Copies the file from to the file to, replacing it; false on failure. A copy
// of a file onto itself, or onto a file that already holds the same bytes,
// succeeds without touching it.
bool CopyFileOver(const QString& from, const QString& to, FileSync sync = FileSync::WaitForDisk);

// The hidden file a write of path fills before it takes path's name.
QString PartFilePath(const QString& path);

// Removes from folder (not its subfolders) what a run killed in the middle
// of a write left behind: the hidden files of PartFilePath, and those of
// earlier versions, "name.part" and "name.XXXXXX" (six letters or digits)
// beside an existing "name". Returns how many went.
int RemoveWriteLeftovers(const QString& folder);
