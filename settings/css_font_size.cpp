// The base font size kept in the stylesheet's leading marker, and the shift
// of every pixel font size in the stylesheet when the setting changes.
#include "settings/bytetext.h"
#include "settings/ini.h"
#include "settings/settings.h"
#include "settings/whole_file.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace {

const ByteText Marker = "/* current CSS font-size: ";
const ByteText FontSize = "font-size: ";
const ByteText PixelEnd = "px;";

// Reads the stylesheet whole; reports a missing or unmarked one.
bool readMarkedStylesheet(const QString& path, Messenger& messenger, ByteText& text) {
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        messenger.Show(QString::fromUtf8("Я не понял, а куда делся файл ") + path + " ?!",
                       QString::fromUtf8("Ошибка"), MessageIcon::Question);
        return false;
    }
    text = file.readAll();
    if (!text.startsWith(Marker)) {
        messenger.Show(QString::fromUtf8("А что случилось с файлом ") + path + " ?!",
                       QString::fromUtf8("Ошибка"), MessageIcon::Question);
        return false;
    }
    return true;
}

// The marker's size: the four characters from the marker's closing blank on.
int16_t markerSize(const ByteText& text) {
    int16_t size = RoundToInt16(LeadingNumber(text.mid(Marker.size() - 1, 4)));
    return std::clamp(size, MinCssFontSize, MaxCssFontSize);
}

// Where the number after a "font-size: " at `at` ends (the start of its
// "px;"), or -1 when the declaration ends first: a size in other units
// ("larger", "1.2em;") is left alone instead of reaching into the next rule.
qsizetype pixelNumberEnd(const ByteText& text, qsizetype at) {
    qsizetype j = at + FontSize.size();
    do {
        if (j >= text.size())
            return -1;
        char c = text[j];
        if (c == ';' || c == '}' || c == '{' || c == '\r' || c == '\n')
            return -1;
        ++j;
    } while (text.mid(j, PixelEnd.size()) != PixelEnd);
    return j;
}

ByteText shiftedSizes(ByteText text, int delta) {
    qsizetype at = text.indexOf(FontSize, 1);
    while (at >= 0) {
        qsizetype end = pixelNumberEnd(text, at);
        if (end >= 0) {
            const qsizetype begin = at + FontSize.size();
            const int value = RoundToInt16(LeadingNumber(text.mid(begin, end - begin)));
            const qsizetype written = ByteText::number(value).size();
            const qsizetype replaced = std::min(written, end - begin);
            text.replace(end - replaced, replaced, ByteText::number(value + delta));
        }
        at = text.indexOf(FontSize, at + 1);
    }
    return text;
}

} // namespace

int16_t ReadCssFontSize(const QString& programFolder, Messenger& messenger) {
    ByteText text;
    if (!readMarkedStylesheet(StylesheetPath(programFolder), messenger, text))
        return 0;
    return markerSize(text);
}

bool ApplyCssFontSize(int16_t CSSFontSize, const QString& programFolder, Messenger& messenger) {
    const QString path = StylesheetPath(programFolder);
    ByteText text;
    if (!readMarkedStylesheet(path, messenger, text))
        return false;
    const int delta = int(CSSFontSize) - int(markerSize(text));
    if (WriteWholeFile(path, shiftedSizes(text, delta) + "\r\n"))
        return true;
    messenger.Show(FileWriteErrorText(path), QString::fromUtf8("Ошибка"), MessageIcon::Error);
    return false;
}
