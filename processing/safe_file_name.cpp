#include "processing/safe_file_name.h"

#include <QCryptographicHash>

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

// Every whole link "img/" + from in page made to lead to "img/" + to.
void relink(ByteText& page, const ByteText& from, const ByteText& to) {
    const ByteText link = "img/" + from;
    for (qsizetype at = page.indexOf(link); at >= 0; at = page.indexOf(link, at + 1)) {
        if (wholeLink(page, at, link.size())) {
            page.replace(at + 4, from.size(), to);
            at += 4 + to.size() - 1;
        }
    }
}

ByteText lastPart(const ByteText& path) {
    return path.mid(path.lastIndexOf('/') + 1);
}

qsizetype utf8Size(const ByteText& name) {
    return cp1251::toUnicode(name).toUtf8().size();
}

// name when it fits LongestPictureName; else as much of its start as fits
// before "~" + 8 hex digits of its hash + its extension (up to 10 bytes).
ByteText fittedName(const ByteText& name) {
    if (utf8Size(name) <= LongestPictureName)
        return name;
    const qsizetype dot = name.lastIndexOf('.');
    const ByteText extension = dot > 0 && name.size() - dot <= 10 ? name.mid(dot) : ByteText();
    const ByteText tail =
        "~" + QCryptographicHash::hash(name, QCryptographicHash::Sha1).toHex().left(8) + extension;
    qsizetype room = LongestPictureName - utf8Size(tail);
    ByteText start;
    for (char c : name.left(name.size() - extension.size())) {
        room -= utf8Size(ByteText(1, c));
        if (room < 0)
            break;
        start += c;
    }
    return start + tail;
}

} // namespace

ByteText ImageFileName(const ByteText& imagePath) {
    const ByteText name = fittedName(SafeFileName(lastPart(imagePath)));
    return isIndexPictureName(name) ? SitePicturePrefix + name : name;
}

void LinkSitePicturesApart(ByteText& page) {
    for (const char* reserved : IndexPictureNames)
        relink(page, reserved, SitePicturePrefix + ByteText(reserved));
}

void LinkShortenedPictures(ByteText& page, const QList<ByteText>& picturePaths) {
    for (const ByteText& path : picturePaths) {
        const ByteText name = lastPart(path);
        const ByteText safe = SafeFileName(name);
        const ByteText fitted = fittedName(safe);
        if (fitted != safe)
            relink(page, name, fitted);
    }
}

ByteText CoverFileName(const ByteText& issueNumber, const ByteText& coverPath) {
    return SafeFileName(issueNumber + coverPath.right(4));
}

QString FileNameOf(const ByteText& safeName) {
    return cp1251::toUnicode(safeName);
}
