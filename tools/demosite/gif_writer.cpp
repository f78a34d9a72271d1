#include "tools/demosite/gif_writer.h"

namespace {

void putWord(QByteArray& out, int value) {
    out += char(value & 0xff);
    out += char((value >> 8) & 0xff);
}

constexpr int MinCodeSize = 7; // 128 literal codes
constexpr int ClearCode = 1 << MinCodeSize;
constexpr int EndCode = ClearCode + 1;
constexpr int CodesPerClear = 100;

} // namespace

QByteArray writeGif(const IndexedPicture& picture) {
    QByteArray out = "GIF89a";
    putWord(out, picture.width);
    putWord(out, picture.height);
    out += char(0xF6); // global colour table of 128 entries, 7 bits of colour resolution
    out += char(0);    // background colour
    out += char(0);    // square pixels
    for (int i = 0; i < 128; ++i) {
        QRgb colour = i < picture.palette.size() ? picture.palette[i] : qRgb(0, 0, 0);
        out += char(qRed(colour));
        out += char(qGreen(colour));
        out += char(qBlue(colour));
    }
    out += ',';
    putWord(out, 0);
    putWord(out, 0);
    putWord(out, picture.width);
    putWord(out, picture.height);
    out += char(0); // no local table, not interlaced
    out += char(MinCodeSize);

    // With a code width of 8 bits each code is exactly one byte.
    QByteArray codes;
    codes.reserve(picture.pixels.size() + picture.pixels.size() / CodesPerClear + 4);
    for (qsizetype i = 0; i < picture.pixels.size(); ++i) {
        if (i % CodesPerClear == 0)
            codes += char(ClearCode);
        codes += char(uint8_t(picture.pixels[i]) & 0x7f);
    }
    codes += char(EndCode);
    for (qsizetype at = 0; at < codes.size(); at += 255) {
        QByteArray block = codes.mid(at, 255);
        out += char(block.size());
        out += block;
    }
    out += char(0);
    out += ';';
    return out;
}

QByteArray padGif(const QByteArray& gif, qsizetype extraBytes, const QByteArray& filler) {
    if (extraBytes < 8 || !gif.endsWith(';') || filler.isEmpty())
        return gif;
    QByteArray comment = "\x21\xFE";
    qsizetype left = extraBytes - 3;
    qsizetype at = 0;
    while (left > 1) {
        qsizetype size = qMin<qsizetype>(255, left - 1);
        comment += char(size);
        for (qsizetype i = 0; i < size; ++i)
            comment += filler[(at++) % filler.size()];
        left -= size + 1;
    }
    comment += char(0);
    QByteArray out = gif;
    out.insert(out.size() - 1, comment);
    return out;
}
