#pragma once
// Byte text: site pages, templates, scripts, profile files, the cache and the
// archive are Windows-1251 byte strings, one character per byte. ByteText is
// the one type for them; QString is for the user interface and file paths.
// Conversions happen only where the two meet.

#include <QByteArray>
#include <QString>
#include <QStringView>

using ByteText = QByteArray;

namespace cp1251 {

// Unicode to Windows-1251; a character the code page lacks becomes '?'.
ByteText fromUnicode(QStringView text);
// Windows-1251 to Unicode; every byte maps to one character, so the round trip
// fromUnicode(toUnicode(b)) == b holds for every byte string.
QString toUnicode(const ByteText& bytes);

} // namespace cp1251

// A UTF-8 literal from the source (Russian messages, markers) as byte text.
inline ByteText W(const char* utf8) {
    return cp1251::fromUnicode(QString::fromUtf8(utf8));
}

// A byte of byte text that is one of the digits '0' to '9', whatever the locale.
inline bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
