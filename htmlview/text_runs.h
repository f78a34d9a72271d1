#pragma once
// What a layout pass drew, read back for checking a page: every text run
// with its box, and the height the whole document takes.

#include "htmlview/display_list.h"

#include <vector>

namespace htmlview {

struct TextRun {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    ByteText text;
};

// Every text drawn, in drawing order and document coordinates; widths are
// measured on surface in each run's own font.
std::vector<TextRun> TextRuns(const DisplayList& list, HtmlSurface& surface);

// The lowest row anything reaches, plus the 4-pixel margin the top has.
int DocumentHeight(const DisplayList& list);

} // namespace htmlview
