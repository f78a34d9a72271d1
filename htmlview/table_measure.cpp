#include "htmlview/column_widths.h"
#include "htmlview/numeric.h"
#include "htmlview/render_pass.h"
#include "htmlview/tag_codes.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace htmlview {

// Before the layout, one walk over the document finds what each column of a
// table with more than one column needs: the widest word, picture or inner
// table of its cells, with the cell's padding and the 4 pixels a line keeps
// free at its right end. Only such tables divide their width among columns,
// so only content inside one is measured; the fonts are those the words will
// be drawn in, so the layout finds their widths measured already.

namespace {

// A word fits at the start of a line when it ends before the line's last 4
// pixels.
constexpr int kLineEndRoom = 5;

class ColumnMeasure {
public:
    using WidthOf = std::function<int(const TextStyle&, const ByteText&)>;
    using PictureWidth = std::function<long long(int element, const TextStyle& style)>;

    ColumnMeasure(const HtmlDocument& doc, const TableGrid& grid, WidthOf widthOf,
                  PictureWidth pictureWidth)
        : doc_(doc), e_(doc.Elements), grid_(grid), widthOf_(std::move(widthOf)),
          pictureWidth_(std::move(pictureWidth)), style_(DefaultTextStyle(doc)) {}

    void element(int index);
    // Tables the document leaves open still get their columns' minimums.
    QHash<int, ColumnMinimums> finish();

private:
    struct OpenTable {
        int table;
        bool wide;
        int cell = -1;     // the cell whose content comes now
        int need = 0;      // what its content needs so far
        int indentAtStart; // list indentation when the table began
    };

    bool measuring() const { return wideOpen_ > 0 && !open_.empty() && open_.back().cell >= 0; }
    void needs(long long width);
    void finishCell();
    void listTag(const HtmlElement& e);
    void tableTag(const HtmlElement& e, int index);
    // Records the table's column minimums when it has several columns and
    // gives the width the whole table needs.
    double tableNeed(int table);
    ColumnMinimums columnMinimums(const TableShape& shape, const HtmlElement& table) const;

    const HtmlDocument& doc_;
    const HtmlElements& e_;
    const TableGrid& grid_;
    WidthOf widthOf_;
    PictureWidth pictureWidth_;
    TextStyle style_;
    bool hidden_ = false;
    int indent_ = 0; // list and blockquote indentation
    int listDepth_ = 0;
    std::vector<int> units_; // the indent each open list or blockquote added
    std::vector<OpenTable> open_;
    int wideOpen_ = 0;
    QHash<int, int> cellNeeds_;
    QHash<int, ColumnMinimums> minimums_;
};

void ColumnMeasure::needs(long long width) {
    OpenTable& t = open_.back();
    t.need = std::max(t.need, Plus(static_cast<long long>(indent_) - t.indentAtStart, width));
}

void ColumnMeasure::finishCell() {
    OpenTable& t = open_.back();
    if (t.cell >= 0)
        cellNeeds_[t.cell] = std::max(cellNeeds_.value(t.cell), t.need);
    t.cell = -1;
    t.need = 0;
}

ColumnMinimums ColumnMeasure::columnMinimums(const TableShape& shape,
                                             const HtmlElement& table) const {
    ColumnMinimums minimums(size_t(std::max(shape.columns, 0)), 0);
    const long long extra = 2LL * table.CellPadding + kLineEndRoom;
    const double gap = 2.0 * table.Border + table.CellSpacing;
    // Cells of one column first; then spanning cells share what they lack.
    for (bool spanned : {false, true}) {
        for (const std::vector<int>& row : shape.rows) {
            size_t column = 0;
            for (int cell : row) {
                const size_t span = size_t(std::max(1, e_[cell].ColSpan));
                const auto found = cellNeeds_.constFind(cell);
                const int need = found == cellNeeds_.constEnd()
                                     ? 0
                                     : int(std::min<long long>(*found + extra,
                                                               static_cast<long long>(kMaxExtent)));
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
    return minimums;
}

double ColumnMeasure::tableNeed(int table) {
    const HtmlElement& e = e_[table];
    ColumnMinimums minimums = columnMinimums(grid_.shape(table), e);
    const std::vector<double> widths(minimums.begin(), minimums.end());
    if (open_.back().wide)
        minimums_.insert(table, std::move(minimums));
    // An inner table sits its padding in from the cell's edge.
    return std::min(TableWidthFor(e, widths) + e.CellPadding, kMaxExtent);
}

void ColumnMeasure::listTag(const HtmlElement& e) {
    const bool opening = e.TagType == tag::UnorderedList || e.TagType == tag::OrderedList ||
                         e.TagType == tag::Blockquote;
    const bool list = e.TagType != tag::Blockquote && e.TagType != tag::BlockquoteEnd;
    if (opening) {
        const int unit = NearestPosition(2.0 * widthOf_(style_, "W"));
        units_.push_back(unit);
        indent_ = Plus(indent_, unit);
        listDepth_ += list ? 1 : 0;
        return;
    }
    if (!units_.empty()) {
        indent_ = std::max(0, indent_ - units_.back());
        units_.pop_back();
    }
    if (list && listDepth_ > 0)
        --listDepth_;
}

void ColumnMeasure::tableTag(const HtmlElement& e, int index) {
    if (e.TagType == tag::Table) {
        const bool wide = grid_.shape(index).columns > 1;
        open_.push_back({index, wide, -1, 0, indent_});
        wideOpen_ += wide ? 1 : 0;
        return;
    }
    if (open_.empty())
        return;
    finishCell();
    if (e.TagType == tag::Cell) {
        open_.back().cell = index;
    } else if (e.TagType == tag::TableEnd) {
        const double need = wideOpen_ > 0 ? tableNeed(open_.back().table) : 0;
        wideOpen_ -= open_.back().wide ? 1 : 0;
        open_.pop_back();
        if (measuring())
            needs(static_cast<long long>(need));
    }
}

void ColumnMeasure::element(int index) {
    const HtmlElement& e = e_[index];
    if (ApplyFontTag(doc_, e, style_))
        return;
    switch (e.TagType) {
    case tag::Form:
    case tag::Script:
    case tag::Style:
    case tag::FormEnd:
    case tag::ScriptEnd:
    case tag::StyleEnd:
        hidden_ = e.TagType == tag::Form || e.TagType == tag::Script || e.TagType == tag::Style;
        break;
    case tag::UnorderedList:
    case tag::OrderedList:
    case tag::Blockquote:
    case tag::UnorderedListEnd:
    case tag::OrderedListEnd:
    case tag::BlockquoteEnd:
        listTag(e);
        break;
    case tag::Table:
    case tag::Row:
    case tag::Cell:
    case tag::TableEnd:
        tableTag(e, index);
        break;
    case tag::Image:
        if (measuring())
            needs(pictureWidth_(index, style_) + 2LL * e.HSpace + 2LL * e.Border);
        break;
    case tag::Text:
        if (measuring() && !hidden_) {
            // Words of a list item follow its bullet or number.
            const int bullet = listDepth_ > 0 ? widthOf_(style_, "W. ") : 0;
            for (const ByteText& word : e.Words) {
                if (!word.isEmpty())
                    needs(static_cast<long long>(widthOf_(style_, word)) + bullet);
            }
        }
        break;
    default:
        break;
    }
}

QHash<int, ColumnMinimums> ColumnMeasure::finish() {
    while (!open_.empty()) {
        finishCell();
        if (wideOpen_ > 0)
            tableNeed(open_.back().table);
        wideOpen_ -= open_.back().wide ? 1 : 0;
        open_.pop_back();
    }
    return std::move(minimums_);
}

} // namespace

void RenderPass::measureTables(int body) {
    grid_.emplace(e_);
    auto widthOf = [this](const TextStyle& style, const ByteText& text) {
        style_ = style;
        fontSynced_ = false;
        return textWidth(text);
    };
    // A picture without a width is loaded now and kept for its drawing, so
    // the host is asked for it once.
    auto pictureWidth = [this, &widthOf](int index, const TextStyle& style) -> long long {
        const HtmlElement& e = e_[index];
        if (e.ImageWidth != 0)
            return std::clamp<long long>(e.ImageWidth, 0, static_cast<long long>(kMaxExtent));
        const QImage picture = loader_ ? loader_(e.Src) : QImage();
        pictures_.insert(index, picture);
        if (!picture.isNull())
            return std::min<long long>(picture.width(), static_cast<long long>(kMaxExtent));
        return e.Alt.isEmpty() ? 0 : widthOf(style, "[" + e.Alt + "]");
    };
    ColumnMeasure measure(doc_, *grid_, widthOf, pictureWidth);
    for (int i = body; i < e_.size(); ++i)
        measure.element(i);
    minimums_ = measure.finish();
    ResetFont();
}

} // namespace htmlview
