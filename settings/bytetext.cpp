#include "settings/bytetext.h"

#include <array>

namespace {

// Unicode of the bytes 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F in order.
// 0x98 has no character in the code page and passes through as U+0098.
constexpr std::array<char16_t, 64> kHigh = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, // B8
};

char encodeOne(char16_t c) {
    if (c < 0x80)
        return char(c);
    if (c >= 0x0410 && c <= 0x044F)
        return char(0xC0 + (c - 0x0410));
    for (size_t i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] == c)
            return char(0x80 + i);
    }
    return '?';
}

} // namespace

namespace cp1251 {

ByteText fromUnicode(QStringView text) {
    ByteText out(text.size(), Qt::Uninitialized);
    char* dst = out.data();
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char16_t c = text[i].unicode();
        // A surrogate pair is one character the code page cannot hold.
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text[i + 1].unicode()))
            ++i;
        dst[n++] = encodeOne(c);
    }
    out.truncate(n);
    return out;
}

QString toUnicode(const ByteText& bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* dst = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80)
            dst[i] = QChar(b);
        else if (b < 0xC0)
            dst[i] = QChar(kHigh[b - 0x80]);
        else
            dst[i] = QChar(char16_t(0x0410 + (b - 0xC0)));
    }
    return out;
}

} // namespace cp1251
