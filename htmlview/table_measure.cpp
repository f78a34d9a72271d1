#include "htmlview/column_widths.h"
#include "htmlview/numeric.h"
#include "htmlview/render_pass.h"
#include "htmlview/tag_codes.h"

#include <algorithm>
#include <cmath>

namespace htmlview {

// Before the layout, one walk over the document finds what each column of a
// table with more than one column needs: the widest word, picture or inner
// table of its cells, with the cell's padding and the 4 pixels a line keeps
// free at its right end. Only those tables divide their width among columns,
// so only their content is measured; the fonts are those the words will be
// drawn in, so the layout finds their widths measured already.

namespace {

// A word fits at the start of a line when it ends before the line's last 4
// pixels.
constexpr int kLineEndRoom = 5;

struct OpenTable {
    int table;
    bool wide;
    int cell = -1;     // the cell whose content comes now
    int need = 0;      // what its content needs so far
    int indentAtStart; // list indentation when the table began
};

struct MeasuringState {
    TextStyle style;
    bool hidden = false;
    int indent = 0; // list and blockquote indentation
    int listDepth = 0;
    std::vector<int> units; // the indent unit each open list added
};

} // namespace

void RenderPass::measureTables(int body) {
    grid_.emplace(e_);
    std::vector<OpenTable> open;
    QHash<int, int> cellNeeds;
    int wideOpen = 0;
    MeasuringState m;
    m.style = DefaultTextStyle(doc_);

    auto widthOf = [&](const ByteText& text) {
        style_ = m.style;
        fontSynced_ = false;
        return textWidth(text);
    };
    auto needs = [&](long long width) {
        OpenTable& t = open.back();
        if (t.cell >= 0)
            t.need = std::max(t.need, Plus(m.indent - t.indentAtStart, width));
    };
    auto finishCell = [&](OpenTable& t) {
        if (t.cell >= 0)
            cellNeeds[t.cell] = std::max(cellNeeds.value(t.cell), t.need);
        t.cell = -1;
        t.need = 0;
    };
    auto tableNeed = [&](int table) {
        const HtmlElement& e = e_[table];
        const TableShape& shape = grid_->shape(table);
        ColumnMinimums minimums(size_t(std::max(shape.columns, 0)), 0);
        const long long extra = 2LL * e.CellPadding + kLineEndRoom;
        const double gap = 2.0 * e.Border + e.CellSpacing;
        for (bool spanned : {false, true}) {
            for (const std::vector<int>& row : shape.rows) {
                size_t column = 0;
                for (int cell : row) {
                    const size_t span = size_t(std::max(1, e_[cell].ColSpan));
                    const int need =
                        cellNeeds.contains(cell)
                            ? int(std::min<long long>(cellNeeds.value(cell) + extra, kMaxExtent))
                            : 0;
                    const size_t end = std::min(column + span, minimums.size());
                    if (!spanned && span == 1 && column < minimums.size()) {
                        minimums[column] = std::max(minimums[column], need);
                    } else if (spanned && span > 1 && column < end) {
                        double covered = gap * double(end - column - 1);
                        for (size_t c = column; c < end; ++c)
                            covered += minimums[c];
                        const int more =
                            int(std::ceil(std::max(0.0, need - covered) / double(end - column)));
                        for (size_t c = column; c < end; ++c)
                            minimums[c] += more;
                    }
                    column += span;
                }
            }
        }
        std::vector<double> widths(minimums.begin(), minimums.end());
        if (open.back().wide)
            minimums_.insert(table, std::move(minimums));
        return std::min(TableWidthFor(e, widths) + e.CellPadding, kMaxExtent);
    };

    for (int i = body; i < e_.size(); ++i) {
        const HtmlElement& e = e_[i];
        if (ApplyFontTag(doc_, e, m.style))
            continue;
        switch (e.TagType) {
        case tag::Form:
        case tag::Script:
        case tag::Style:
        case tag::FormEnd:
        case tag::ScriptEnd:
        case tag::StyleEnd:
            m.hidden =
                e.TagType == tag::Form || e.TagType == tag::Script || e.TagType == tag::Style;
            break;
        case tag::UnorderedList:
        case tag::OrderedList:
        case tag::Blockquote: {
            const int unit = NearestPosition(2.0 * widthOf("W"));
            m.units.push_back(unit);
            m.indent = Plus(m.indent, unit);
            m.listDepth += e.TagType == tag::Blockquote ? 0 : 1;
            break;
        }
        case tag::UnorderedListEnd:
        case tag::OrderedListEnd:
        case tag::BlockquoteEnd:
            if (!m.units.empty()) {
                m.indent = std::max(0, m.indent - m.units.back());
                m.units.pop_back();
            }
            if (e.TagType != tag::BlockquoteEnd && m.listDepth > 0)
                --m.listDepth;
            break;
        case tag::Table: {
            const bool wide = grid_->shape(i).columns > 1;
            open.push_back({i, wide, -1, 0, m.indent});
            wideOpen += wide ? 1 : 0;
            break;
        }
        case tag::Row:
        case tag::Cell:
            if (!open.empty()) {
                finishCell(open.back());
                if (e.TagType == tag::Cell)
                    open.back().cell = i;
            }
            break;
        case tag::TableEnd:
            if (!open.empty()) {
                finishCell(open.back());
                const double need = wideOpen > 0 ? tableNeed(open.back().table) : 0;
                wideOpen -= open.back().wide ? 1 : 0;
                open.pop_back();
                if (!open.empty())
                    needs(static_cast<long long>(need));
            }
            break;
        case tag::Image:
            if (wideOpen > 0 && !open.empty() && open.back().cell >= 0) {
                long long width = e.ImageWidth;
                if (width == 0) {
                    const QImage picture = loader_ ? loader_(e.Src) : QImage();
                    pictures_.insert(i, picture);
                    width = picture.isNull() ? (e.Alt.isEmpty() ? 0 : widthOf("[" + e.Alt + "]"))
                                             : picture.width();
                }
                needs(std::clamp<long long>(width, 0, kMaxExtent) + 2LL * e.HSpace +
                      2LL * e.Border);
            }
            break;
        case tag::Text:
            if (wideOpen > 0 && !open.empty() && open.back().cell >= 0 && !m.hidden) {
                const int bullet = m.listDepth > 0 ? widthOf("W. ") : 0;
                for (const ByteText& word : e.Words) {
                    if (!word.isEmpty())
                        needs(static_cast<long long>(widthOf(word)) + bullet);
                }
            }
            break;
        default:
            break;
        }
    }
    // Tables the document leaves open still get their columns' minimums.
    while (!open.empty()) {
        finishCell(open.back());
        if (wideOpen > 0)
            tableNeed(open.back().table);
        wideOpen -= open.back().wide ? 1 : 0;
        open.pop_back();
    }
    ResetFont();
}

} // namespace htmlview
