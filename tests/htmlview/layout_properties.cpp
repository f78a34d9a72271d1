#include "layout_properties.h"

#include "htmlview/recording_surface.h"
#include "htmlview/tag_codes.h"

#include <algorithm>
#include <vector>

namespace htmlview::test {

namespace {

// The inked part of a text run: its box without leading and trailing blanks.
struct Box {
    int left;
    int top;
    int right;  // exclusive
    int bottom; // exclusive
    QString text;
    int glyph; // width of one glyph in the run's font
    int element;
};

std::vector<Box> inkedBoxes(const DisplayList& list) {
    std::vector<Box> boxes;
    for (const DrawItem& d : list.items()) {
        if (d.kind != DrawItem::Text)
            continue;
        const QString text = cp1251::toUnicode(list.text(d));
        const QString inked = text.trimmed();
        if (inked.isEmpty())
            continue;
        const int glyph = RecordingSurface::glyphWidth(list.font(d.font).size);
        const int left = d.x1 + glyph * int(text.indexOf(inked.front()));
        boxes.push_back(
            {left, d.y1, left + glyph * int(inked.size()), d.bottom(), inked, glyph, d.element});
    }
    return boxes;
}

QString describe(const Box& b) {
    return QStringLiteral("\"%1\" at %2,%3-%4,%5")
        .arg(b.text.left(30))
        .arg(b.left)
        .arg(b.top)
        .arg(b.right)
        .arg(b.bottom);
}

void overlaps(std::vector<Box> boxes, QStringList& faults) {
    std::sort(boxes.begin(), boxes.end(), [](const Box& a, const Box& b) { return a.top < b.top; });
    for (size_t i = 0; i < boxes.size(); ++i) {
        for (size_t j = i + 1; j < boxes.size() && boxes[j].top < boxes[i].bottom; ++j) {
            const Box& a = boxes[i];
            const Box& b = boxes[j];
            if (a.left < b.right && b.left < a.right)
                faults << QStringLiteral("overlap: %1 and %2").arg(describe(a), describe(b));
        }
    }
}

void outside(const std::vector<Box>& boxes, int width, QStringList& faults) {
    for (const Box& b : boxes) {
        if (b.left < 0 || b.right > width)
            faults << QStringLiteral("outside the width %1: %2").arg(width).arg(describe(b));
    }
}

// The content width of the cell each element is laid out in (-1 outside
// tables), following the table steps: a TD opens a cell of the innermost
// open table, which lasts until the next TD of that table.
std::vector<int> cellWidths(const HtmlElements& elements) {
    struct OpenTable {
        int padding;
        int content;
    };
    std::vector<OpenTable> open;
    std::vector<int> widths(size_t(elements.size()), -1);
    for (qsizetype i = 0; i < elements.size(); ++i) {
        const HtmlElement& e = elements[i];
        if (e.TagType == tag::Table)
            open.push_back({e.CellPadding, -1});
        else if (e.TagType == tag::TableEnd && !open.empty())
            open.pop_back();
        else if (e.TagType == tag::Cell && !open.empty())
            open.back().content = e.CellPixelWidth - 2 * open.back().padding;
        widths[size_t(i)] = open.empty() ? -1 : open.back().content;
    }
    return widths;
}

void narrowCells(const HtmlDocument& doc, const std::vector<Box>& boxes, QStringList& faults) {
    const std::vector<int> widths = cellWidths(doc.Elements);
    for (const Box& b : boxes) {
        if (b.element < 0 || size_t(b.element) >= widths.size() || widths[size_t(b.element)] < 0)
            continue;
        const int content = widths[size_t(b.element)];
        for (const QString& word : b.text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (b.glyph * int(word.size()) > content)
                faults << QStringLiteral("cell of %1 px narrower than \"%2\" (%3 px)")
                              .arg(content)
                              .arg(word)
                              .arg(b.glyph * int(word.size()));
        }
    }
}

} // namespace

QStringList LayoutFaults(const HtmlDocument& doc, const DisplayList& list, int width) {
    QStringList faults;
    const std::vector<Box> boxes = inkedBoxes(list);
    overlaps(boxes, faults);
    outside(boxes, width, faults);
    narrowCells(doc, boxes, faults);
    return faults;
}

} // namespace htmlview::test
