#include "processing/cut_replace.h"

#include "processing/text_scan.h"

void ReplaceFirst(ByteText& text, const ByteText& find, const ByteText& replacement) {
    qsizetype at = textscan::Find(text, find);
    if (at >= 0)
        text.replace(at, find.size(), replacement);
}

void CutBetween(ByteText& text, const ByteText& start, const ByteText& end) {
    qsizetype s = textscan::Find(text, start);
    qsizetype e = textscan::Find(text, end);
    if (s < 0 || e < 0)
        return;
    text = text.left(s) + text.mid(e + end.size());
}

ByteText TitleToPlainText(ByteText& text) {
    text.replace("&quot;", "\"");
    text.replace("&nbsp;", " ");
    for (char& c : text) {
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
    }
    for (const char* gone : {"<", ">", "/", "h1", "h2", "h3"})
        text.replace(gone, "");
    qsizetype b = 0, e = text.size();
    while (b < e && text[b] == ' ')
        ++b;
    while (e > b && text[e - 1] == ' ')
        --e;
    text = text.mid(b, e - b);
    return text;
}
