#include "processing/picture_type.h"

#include <QFile>

QByteArray PictureMediaType(const QByteArray& head) {
    if (head.startsWith("\xFF\xD8\xFF"))
        return "image/jpeg";
    if (head.startsWith("\x89PNG\r\n\x1A\n"))
        return "image/png";
    if (head.startsWith("GIF87a") || head.startsWith("GIF89a"))
        return "image/gif";
    return {};
}

QByteArray FileHead(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(16) : QByteArray();
}

bool IsPictureFile(const QString& path) {
    const QByteArray head = FileHead(path);
    const bool bmp = head.startsWith("BM") && head.size() >= 14;
    const bool webp = head.startsWith("RIFF") && head.mid(8, 4) == "WEBP";
    return !PictureMediaType(head).isEmpty() || bmp || webp;
}
