#pragma once
// The tests' Russian texts, written in UTF-8 in the source, as the QString
// the interface shows.

#include <QString>

inline QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}
