#include "htmlview/entities.h"

#include <algorithm>

namespace htmlview {

ByteText DecodeEntities(const ByteText& text) {
    ByteText out;
    if (!text.contains("&#")) {
        out = text;
    } else {
        const qsizetype n = text.size();
        const qsizetype lastSemicolon = text.lastIndexOf(';');
        out.reserve(n);
        qsizetype i = 0;
        while (i < n) {
            if (text[i] == '&' && i + 1 < n && text[i + 1] == '#' && lastSemicolon >= i) {
                qsizetype p = i + 2;
                int value = 0;
                while (p < n && text[p] >= '0' && text[p] <= '9') {
                    // Capped: any number past 999 produces nothing anyway.
                    value = std::min(value * 10 + (text[p] - '0'), 100000);
                    ++p;
                }
                // Leading zeros do not count: "&#060;" is "<".
                if (value < 1000 && value > 0)
                    out.append(value < 256 ? char(value) : '?');
                i = p + 1; // the digits and the ";" after them
            } else {
                out.append(text[i]);
                ++i;
            }
        }
    }
    out.replace("\r\n", " ");
    out.replace('\n', ' ');
    out.replace('\t', ' ');
    return out;
}

} // namespace htmlview
