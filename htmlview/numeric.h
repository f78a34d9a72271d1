#pragma once
// Number and text conversions with the rules the document attributes are
// read by: banker's rounding, numbers with optional sign, fraction and
// exponent, hexadecimal after "&H", trimming of spaces only.

#include "settings/bytetext.h"

#include <optional>

namespace htmlview {

// Nearest integer, a half going to the even neighbour.
int NearestEven(double x);

// Layout positions and extents are held within this many pixels of the
// origin: a sum of two of them still fits an int, so pen arithmetic on
// absurd attribute values saturates instead of overflowing.
inline constexpr int kMaxPosition = (1 << 30) - 1;
int Saturate(long long value);
// a + b, held within kMaxPosition.
inline int Plus(long long a, long long b) {
    return Saturate(a + b);
}
// NearestEven, held within kMaxPosition.
int NearestPosition(double x);

// The value of a numeric text ("12", " -3.5 ", "1e2", "&H1F"), or nothing.
std::optional<double> NumericValue(const ByteText& text);

// A numeric text rounded to an integer within [min, max], or nothing when
// the text is not numeric or the value is out of range.
std::optional<int> IntegerValue(const ByteText& text, int min, int max);
std::optional<int> Int16Value(const ByteText& text);
std::optional<int> Int32Value(const ByteText& text);

// Hexadecimal digits only (no prefix), or nothing.
std::optional<quint32> HexValue(const ByteText& digits);

ByteText TrimSpaces(const ByteText& text);
// Upper case of ASCII letters and of the Windows-1251 Cyrillic letters.
ByteText UpperCase(const ByteText& text);
ByteText LowerCase(const ByteText& text);
ByteText ReplaceAll(ByteText text, const ByteText& from, const ByteText& to);

} // namespace htmlview
