#include "ebook/book_pictures.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>

namespace {

QByteArray extensionOf(const QByteArray& mediaType) {
    if (mediaType == "image/jpeg")
        return "jpg";
    return mediaType.mid(6); // png, gif
}

// The file's name without its ending, made of letters, digits, "-" and "_".
QByteArray plainBaseName(const QString& file) {
    QByteArray name;
    for (QChar c : QFileInfo(file).completeBaseName()) {
        const char16_t u = c.unicode();
        const bool plain = (u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') ||
                           (u >= 'A' && u <= 'Z') || u == '-' || u == '_';
        name += plain ? char(u) : '_';
    }
    return name.isEmpty() ? QByteArray("picture") : name.left(64);
}

QByteArray pngOf(const QString& file) {
    QImage image;
    if (!image.load(file))
        return {};
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, "PNG") ? png : QByteArray();
}

} // namespace

QByteArray BookPictures::add(const QString& file) {
    const QString key = QFileInfo(file).canonicalFilePath();
    if (key.isEmpty() || !QFileInfo(key).isFile())
        return {};
    if (auto known = byFile_.constFind(key); known != byFile_.constEnd())
        return *known;
    BookPicture picture;
    picture.file = key;
    picture.mediaType = PictureMediaType(FileHead(key));
    if (picture.mediaType.isEmpty()) {
        picture.converted = pngOf(key);
        if (!picture.converted.isEmpty())
            picture.mediaType = "image/png";
    }
    if (!picture.mediaType.isEmpty()) {
        picture.bookName = uniqueName(key, extensionOf(picture.mediaType));
        pictures_.append(picture);
    }
    byFile_.insert(key, picture.bookName);
    return picture.bookName;
}

QByteArray BookPictures::uniqueName(const QString& file, const QByteArray& extension) {
    const QByteArray base = "img/" + plainBaseName(file);
    QByteArray name = base + "." + extension;
    // Names are compared without letter case, as reading systems on other
    // file systems would.
    for (int n = 2; taken_.contains(name.toLower()); ++n)
        name = base + "-" + QByteArray::number(n) + "." + extension;
    taken_.insert(name.toLower());
    return name;
}
