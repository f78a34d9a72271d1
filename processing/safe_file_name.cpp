#include "processing/safe_file_name.h"

ByteText SafeFileName(const ByteText& name) {
    ByteText safe = name;
    for (char& c : safe) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || u < 0x20 || u == 0x7F)
            c = '_';
    }
    if (safe.isEmpty() || safe == ".")
        return "_";
    if (safe == "..")
        return "__";
    return safe;
}

ByteText ImageFileName(const ByteText& imagePath) {
    return SafeFileName(imagePath.mid(imagePath.lastIndexOf('/') + 1));
}

ByteText CoverFileName(const ByteText& issueNumber, const ByteText& coverPath) {
    return SafeFileName(issueNumber + coverPath.right(4));
}

QString FileNameOf(const ByteText& safeName) {
    return cp1251::toUnicode(safeName);
}
