#pragma once
// Russian texts are written in UTF-8 in the source; U turns one into the
// QString the interface shows.

#include <QString>

inline QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}
