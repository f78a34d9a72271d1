#include "settings/whole_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cstdio>

namespace {

constexpr QFileDevice::Permissions OwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

bool WriteAndWait(const QString& path, const ByteText& bytes, bool ownerOnly) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    if (ownerOnly)
        file.setPermissions(OwnerOnly);
    return file.commit();
}

// Beside the target under a ".part" name, then renamed over it: the same
// guarantee against half files, without waiting for the disk.
bool WriteAndRename(const QString& path, const ByteText& bytes, bool ownerOnly) {
    const QString part = path + ".part";
    QFile file(part);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    bool written = file.write(bytes) == bytes.size() && file.flush();
    if (written && ownerOnly)
        written = file.setPermissions(OwnerOnly);
    file.close();
    if (written &&
        std::rename(QFile::encodeName(part).constData(), QFile::encodeName(path).constData()) == 0)
        return true;
    QFile::remove(part);
    return false;
}

} // namespace

std::optional<ByteText> ReadWholeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    ByteText bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

bool WriteWholeFile(const QString& path, const ByteText& bytes, FileSync sync, bool ownerOnly) {
    return sync == FileSync::WaitForDisk ? WriteAndWait(path, bytes, ownerOnly)
                                         : WriteAndRename(path, bytes, ownerOnly);
}

bool CopyFileOver(const QString& from, const QString& to) {
    const QFileInfo source(from), target(to);
    if (target.exists() && source.canonicalFilePath() == target.canonicalFilePath())
        return true;
    const std::optional<ByteText> bytes = ReadWholeFile(from);
    return bytes && WriteWholeFile(to, *bytes);
}
