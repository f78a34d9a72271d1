#pragma once
// A minimal GIF encoder: one frame of at most 128 palette colours. The LZW
// stream uses 8-bit codes and a clear code every 100 pixels, so the code
// table never grows past its first width; every decoder reads that as plain
// GIF.

#include <QByteArray>
#include <QList>
#include <QRgb>

struct IndexedPicture {
    int width = 0;
    int height = 0;
    QList<QRgb> palette; // up to 128 colours
    QByteArray pixels;   // width * height palette indices, row by row
};

QByteArray writeGif(const IndexedPicture& picture);
// A comment extension with the given text, inserted before the trailer, so
// a picture reaches a wanted size and still decodes the same.
QByteArray padGif(const QByteArray& gif, qsizetype extraBytes, const QByteArray& filler);
