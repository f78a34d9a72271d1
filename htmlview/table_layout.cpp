#include "htmlview/column_widths.h"
#include "htmlview/numeric.h"
#include "htmlview/render_pass.h"

#include <algorithm>

namespace htmlview {

// Table steps without an open table (stray TR, TD or closers) do nothing:
// there is no frame for them to work on. A TD or TR that comes while a cell
// or row of its table is open closes that cell or row first, and so does the
// end of the table, as the markup meant.

void RenderPass::tableOpen(int index) {
    HtmlElement& e = e_[index];
    // A table starts on a line of its own: at the top level always, inside
    // a cell when the line holds something already.
    if ((frames_.empty() && y_ > 4) || lineUsed_) {
        newLine();
        e.Top = y_;
    }
    inTable_ = true;
    // The widest the table can be and still end inside its block.
    const double room = double(limit_) - margin_ - 8 - 2.0 * e.Border - e.CellSpacing;
    const double asked = e.TableWidth <= 1 ? room * double(e.TableWidth) : double(e.TableWidth);
    e.TablePixelWidth = NearestEven(std::clamp(std::min(asked, room), -kMaxExtent, kMaxExtent));
    const auto minimums = minimums_.constFind(index);
    ComputeColumnWidths(e_, index, grid_->shape(index),
                        minimums == minimums_.constEnd() ? ColumnMinimums() : *minimums,
                        std::clamp(room, 0.0, kMaxExtent));

    TableFrame frame;
    frame.outerMargin = margin_;
    frame.outerLimit = limit_;
    frame.outerDrawnBottom = drawnBottom_;
    frame.top = y_;
    frame.rowTop = Plus(e.Border, y_);
    frame.rowHeight = 0;
    frame.border = e.Border;
    frame.height = e.Border;
    frame.padding = e.CellPadding;
    frame.spacing = e.CellSpacing;
    frame.element = index;
    frame.width = e.TablePixelWidth;
    const bool nested = !frames_.empty();
    const int leftAligned = Plus(margin_, nested ? e.CellPadding : 0);
    if (e.AlignCenter) {
        frame.x = Plus(margin_, (static_cast<long long>(limit_) - margin_ - frame.width) / 2);
        if (frame.x < margin_)
            frame.x = leftAligned;
    } else {
        frame.x = leftAligned;
    }
    frame.savedCentring = centring_;
    centring_ = false;
    frames_.push_back(std::move(frame));
}

void RenderPass::rowOpen(HtmlElement& e) {
    if (frames_.empty())
        return;
    if (frames_.back().rowOpen)
        rowClose();
    TableFrame& f = frames_.back();
    x_ = Plus(margin_, indent_);
    e.Indent = indent_;
    f.rowTop = Plus(f.rowTop, f.rowHeight);
    f.rowHeight = NearestPosition(f.spacing / 2.0);
    f.nextCellOffset = NearestPosition(f.spacing / 2.0 + 2.0 * f.border);
    f.cells.clear();
    f.rowOpen = true;
}

void RenderPass::cellOpen(HtmlElement& e) {
    if (frames_.empty())
        return;
    if (frames_.back().cellOpen)
        cellClose();
    if (!frames_.back().rowOpen) {
        // A cell before any row of its table starts one.
        HtmlElement noRow;
        rowOpen(noRow);
    }
    TableFrame& f = frames_.back();
    f.cellOpen = true;
    margin_ = Plus(Plus(f.x, f.nextCellOffset), f.padding);
    limit_ = NearestPosition(double(e.CellPixelWidth) + f.x + f.nextCellOffset - double(f.padding));
    f.cellLimit = limit_;
    x_ = margin_;
    const int left = Plus(f.x, f.nextCellOffset);
    const int right = Plus(Plus(limit_, f.padding), f.border);
    f.width = std::max(f.width, Plus(static_cast<long long>(right) + f.spacing / 2 + f.border,
                                     -static_cast<long long>(f.x)));
    f.cells.push_back({left, right});
    startLineAt(NearestPosition(f.spacing / 2.0 + f.rowTop + f.border + f.padding));
    drawnBottom_ = y_;
}

void RenderPass::cellClose() {
    centring_ = false;
    rightAlign_ = false;
    if (frames_.empty() || !frames_.back().cellOpen)
        return;
    TableFrame& f = frames_.back();
    f.cellOpen = false;
    // A tall line (a picture, a larger font) reaches below the last text.
    if (lineHeight_ != standardLineHeight() && textY_ < Plus(y_, lineHeight_))
        textY_ = Plus(y_, lineHeight_);
    recomputeLineHeight();
    // The row holds everything drawn in the cell, inner tables included.
    const int bottom = std::max(textY_, drawnBottom_);
    const double candidate = bottom + f.padding / 2.0 + f.border - double(f.rowTop);
    if (candidate > f.rowHeight)
        f.rowHeight = NearestPosition(candidate);
    if (!f.cells.empty())
        f.nextCellOffset =
            Plus(static_cast<long long>(f.spacing) + f.cells.back().right + f.border, -f.x);
}

void RenderPass::rowClose() {
    if (frames_.empty() || !frames_.back().rowOpen)
        return;
    if (frames_.back().cellOpen)
        cellClose();
    TableFrame& f = frames_.back();
    f.rowOpen = false;
    if (f.rowTop >= y_)
        startLineAt(Plus(y_, lineHeight_));
    x_ = Plus(margin_, indent_);
    if (f.rowHeight > 0)
        f.height = Plus(f.height, static_cast<long long>(f.rowHeight) + f.spacing / 2 + f.border);
    if (f.border >= 1) {
        for (const TableFrame::Cell& cell : f.cells)
            DrawBevel(true, cell.left, NearestPosition(f.rowTop + f.spacing / 2.0), cell.right,
                      Plus(f.rowTop, f.rowHeight));
    }
    f.rowHeight = NearestPosition(f.spacing / 2.0 + f.rowHeight + f.border);
}

void RenderPass::tableClose() {
    if (frames_.empty())
        return;
    if (frames_.back().rowOpen)
        rowClose();
    const TableFrame f = std::move(frames_.back());
    frames_.pop_back();
    if (f.border >= 1)
        DrawBevel(false, f.x, f.top, Plus(f.x, f.width), Plus(f.top, f.height));
    e_[f.element].Bottom = Plus(Plus(f.top, f.height), lineHeight_ + 3LL);
    newLine();
    // Text after the table goes on in the block the table sat in: the
    // enclosing cell, or the page.
    margin_ = f.outerMargin;
    limit_ = f.outerLimit;
    if (frames_.empty()) {
        margin_ = 4;
        limit_ = NearestEven(surface_.width());
        inTable_ = false;
    }
    x_ = Plus(margin_, indent_);
    centring_ = f.savedCentring;
    startLineAt(Plus(f.top, f.height));
    drawnBottom_ = std::max({f.outerDrawnBottom, drawnBottom_, y_});
}

} // namespace htmlview
