#include "htmlview/text_runs.h"

#include <algorithm>

namespace htmlview {

std::vector<TextRun> TextRuns(const DisplayList& list, HtmlSurface& surface) {
    std::vector<TextRun> runs;
    int currentFont = -1;
    for (const DrawItem& d : list.items()) {
        if (d.kind != DrawItem::Text)
            continue;
        if (d.font != currentFont) {
            surface.setFont(list.font(d.font));
            currentFont = d.font;
        }
        const ByteText text = list.text(d);
        runs.push_back(
            {d.x1, d.y1, surface.textWidth(cp1251::toUnicode(text)), d.y2 - d.y1 + 1, text});
    }
    return runs;
}

int DocumentHeight(const DisplayList& list) {
    int bottom = 0;
    for (const DrawItem& d : list.items())
        bottom = std::max(bottom, d.bottom());
    return bottom + 4;
}

} // namespace htmlview
