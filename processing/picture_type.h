#pragma once
// What kind of picture a file is, told by its first bytes, without a picture
// library: the unattended program checks covers with it, the e-book and the
// catalogue name their pictures' media types.

#include <QByteArray>
#include <QString>

// The media type of picture bytes by their signature: image/jpeg, image/png,
// image/gif, or empty text.
QByteArray PictureMediaType(const QByteArray& head);

// The first bytes of a file (at most 16), empty when it cannot be read.
QByteArray FileHead(const QString& path);

// Whether the file begins as a picture the windows can show: JPEG, PNG, GIF,
// BMP or WebP.
bool IsPictureFile(const QString& path);
