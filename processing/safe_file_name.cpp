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

namespace {

bool isIndexPictureName(const ByteText& name) {
    for (const char* reserved : IndexPictureNames) {
        if (name == reserved)
            return true;
    }
    return false;
}

// Whether the link found at `at` is the whole address "img/..." of an
// attribute: it starts the value and its name ends with it.
bool wholeLink(const ByteText& page, qsizetype at, qsizetype size) {
    const bool starts = at == 0 || ByteText("\"'= ").contains(page[at - 1]);
    const qsizetype end = at + size;
    return starts && (end >= page.size() || ByteText("\"' >").contains(page[end]));
}

} // namespace

ByteText ImageFileName(const ByteText& imagePath) {
    const ByteText name = SafeFileName(imagePath.mid(imagePath.lastIndexOf('/') + 1));
    return isIndexPictureName(name) ? SitePicturePrefix + name : name;
}

void LinkSitePicturesApart(ByteText& page) {
    for (const char* reserved : IndexPictureNames) {
        const ByteText link = ByteText("img/") + reserved;
        for (qsizetype at = page.indexOf(link); at >= 0; at = page.indexOf(link, at + 1)) {
            if (wholeLink(page, at, link.size()))
                page.insert(at + 4, SitePicturePrefix);
        }
    }
}

ByteText CoverFileName(const ByteText& issueNumber, const ByteText& coverPath) {
    return SafeFileName(issueNumber + coverPath.right(4));
}

QString FileNameOf(const ByteText& safeName) {
    return cp1251::toUnicode(safeName);
}
