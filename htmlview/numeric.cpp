#include "htmlview/numeric.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace htmlview {

int NearestEven(double x) {
    if (!std::isfinite(x))
        return 0;
    const double limit = double(std::numeric_limits<int>::max());
    if (x >= limit)
        return std::numeric_limits<int>::max();
    if (x <= -limit)
        return -std::numeric_limits<int>::max();
    const double floor = std::floor(x);
    const double fraction = x - floor;
    int result = int(floor);
    if (fraction > 0.5 || (fraction == 0.5 && (result % 2) != 0))
        ++result;
    return result;
}

int Saturate(long long value) {
    return int(std::clamp<long long>(value, -kMaxPosition, kMaxPosition));
}

int NearestPosition(double x) {
    return Saturate(NearestEven(x));
}

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::optional<double> decimalValue(const ByteText& t) {
    qsizetype i = 0;
    const qsizetype n = t.size();
    bool negative = false;
    if (i < n && (t[i] == '+' || t[i] == '-'))
        negative = t[i++] == '-';
    double value = 0;
    bool digits = false;
    while (i < n && isDigit(t[i])) {
        value = value * 10 + (t[i++] - '0');
        digits = true;
    }
    if (i < n && t[i] == '.') {
        ++i;
        double scale = 0.1;
        while (i < n && isDigit(t[i])) {
            value += (t[i++] - '0') * scale;
            scale /= 10;
            digits = true;
        }
    }
    if (!digits)
        return std::nullopt;
    if (i < n && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (t[i] == '+' || t[i] == '-'))
            negativeExponent = t[i++] == '-';
        int exponent = 0;
        bool exponentDigits = false;
        while (i < n && isDigit(t[i])) {
            exponent = std::min(exponent * 10 + (t[i++] - '0'), 400);
            exponentDigits = true;
        }
        if (!exponentDigits)
            return std::nullopt;
        value *= std::pow(10.0, negativeExponent ? -exponent : exponent);
    }
    if (i != n || !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

} // namespace

std::optional<quint32> HexValue(const ByteText& digits) {
    if (digits.isEmpty() || digits.size() > 8)
        return std::nullopt;
    quint32 value = 0;
    for (char c : digits) {
        int d;
        if (isDigit(c))
            d = c - '0';
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return std::nullopt;
        value = value * 16 + quint32(d);
    }
    return value;
}

std::optional<double> NumericValue(const ByteText& text) {
    const ByteText t = TrimSpaces(text);
    if (t.size() > 2 && t[0] == '&' && (t[1] == 'H' || t[1] == 'h')) {
        if (auto hex = HexValue(t.mid(2)))
            return double(*hex);
        return std::nullopt;
    }
    return decimalValue(t);
}

std::optional<int> IntegerValue(const ByteText& text, int min, int max) {
    const auto value = NumericValue(text);
    if (!value || *value < double(min) - 0.5 || *value > double(max) + 0.5)
        return std::nullopt;
    const int rounded = NearestEven(*value);
    if (rounded < min || rounded > max)
        return std::nullopt;
    return rounded;
}

std::optional<int> Int16Value(const ByteText& text) {
    return IntegerValue(text, -32768, 32767);
}

std::optional<int> Int32Value(const ByteText& text) {
    return IntegerValue(text, std::numeric_limits<int>::min() + 1, std::numeric_limits<int>::max());
}

ByteText TrimSpaces(const ByteText& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == ' ')
        ++begin;
    while (end > begin && text[end - 1] == ' ')
        --end;
    return text.mid(begin, end - begin);
}

ByteText UpperCase(const ByteText& text) {
    ByteText out = text;
    for (char& c : out) {
        const auto u = static_cast<unsigned char>(c);
        if ((u >= 'a' && u <= 'z') || u >= 0xE0)
            c = char(u - 0x20);
        else if (u == 0xB8) // ё
            c = char(0xA8);
    }
    return out;
}

ByteText LowerCase(const ByteText& text) {
    ByteText out = text;
    for (char& c : out) {
        const auto u = static_cast<unsigned char>(c);
        if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDF))
            c = char(u + 0x20);
        else if (u == 0xA8)
            c = char(0xB8);
    }
    return out;
}

ByteText ReplaceAll(ByteText text, const ByteText& from, const ByteText& to) {
    return text.replace(from, to);
}

} // namespace htmlview
