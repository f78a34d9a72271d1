#include "processing/whole_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

std::optional<ByteText> ReadWholeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

bool WriteWholeFile(const QString& path, const ByteText& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool CopyFileOver(const QString& from, const QString& to) {
    const QFileInfo source(from), target(to);
    if (target.exists() && source.canonicalFilePath() == target.canonicalFilePath())
        return true;
    const std::optional<ByteText> bytes = ReadWholeFile(from);
    return bytes && WriteWholeFile(to, *bytes);
}
