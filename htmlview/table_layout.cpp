#include "htmlview/column_widths.h"
#include "htmlview/numeric.h"
#include "htmlview/render_pass.h"

#include <algorithm>

namespace htmlview {

// Table steps without an open table (stray TR, TD or closers) do nothing:
// there is no frame for them to work on.

void RenderPass::tableOpen(int index) {
    HtmlElement& e = e_[index];
    if (frames_.empty() && y_ > 4) {
        newLine();
        e.Top = y_;
    }
    inTable_ = true;
    const double width = e.TableWidth <= 1 ? (limit_ - margin_ - 8 - 2 * e.Border - e.CellSpacing) *
                                                 double(e.TableWidth)
                                           : double(e.TableWidth);
    e.TablePixelWidth = NearestEven(std::clamp(width, -kMaxExtent, kMaxExtent));
    ComputeColumnWidths(e_, index);
    e.TablePixelWidth = NearestEven(std::clamp(double(e.TablePixelWidth), -kMaxExtent, kMaxExtent));

    TableFrame frame;
    frame.top = y_;
    frame.rowTop = e.Border + y_;
    frame.rowHeight = 0;
    frame.border = e.Border;
    frame.height = e.Border;
    frame.padding = e.CellPadding;
    frame.spacing = e.CellSpacing;
    frame.element = index;
    frame.width = e.TablePixelWidth;
    const bool nested = !frames_.empty();
    const int leftAligned = margin_ + (nested ? e.CellPadding : 0);
    if (e.AlignCenter) {
        frame.x = margin_ + (limit_ - margin_ - frame.width) / 2;
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
    TableFrame& f = frames_.back();
    x_ = margin_ + indent_;
    e.Indent = indent_;
    f.rowTop += f.rowHeight;
    f.rowHeight = NearestEven(f.spacing / 2.0);
    f.nextCellOffset = NearestEven(f.spacing / 2.0 + 2 * f.border);
    f.cells.clear();
}

void RenderPass::cellOpen(HtmlElement& e) {
    if (frames_.empty())
        return;
    TableFrame& f = frames_.back();
    margin_ = f.x + f.nextCellOffset + f.padding;
    limit_ = NearestEven(double(e.CellPixelWidth) + f.x + f.nextCellOffset - f.padding);
    f.cellLimit = limit_;
    x_ = margin_;
    const int left = f.x + f.nextCellOffset;
    const int right = limit_ + f.padding + f.border;
    f.width = std::max(f.width, right + f.spacing / 2 + f.border - f.x);
    f.cells.push_back({left, right});
    y_ = NearestEven(f.spacing / 2.0 + f.rowTop + f.border + f.padding);
}

void RenderPass::cellClose() {
    centring_ = false;
    rightAlign_ = false;
    if (frames_.empty())
        return;
    TableFrame& f = frames_.back();
    // A tall line (a picture, a larger font) reaches below the last text.
    if (lineHeight_ != standardLineHeight() && textY_ < y_ + lineHeight_)
        textY_ = y_ + lineHeight_;
    recomputeLineHeight();
    const double candidate = textY_ + f.padding / 2.0 + f.border - f.rowTop;
    if (candidate > f.rowHeight)
        f.rowHeight = NearestEven(candidate);
    if (!f.cells.empty())
        f.nextCellOffset = f.spacing + f.cells.back().right + f.border - f.x;
}

void RenderPass::rowClose() {
    if (frames_.empty())
        return;
    TableFrame& f = frames_.back();
    if (f.rowTop >= y_)
        y_ += lineHeight_;
    x_ = margin_ + indent_;
    if (f.rowHeight > 0)
        f.height += f.rowHeight + f.spacing / 2 + f.border;
    if (f.border >= 1) {
        for (const TableFrame::Cell& cell : f.cells)
            DrawBevel(true, cell.left, NearestEven(f.rowTop + f.spacing / 2.0), cell.right,
                      f.rowTop + f.rowHeight);
    }
    f.rowHeight = NearestEven(f.spacing / 2.0 + f.rowHeight + f.border);
}

void RenderPass::tableClose() {
    if (frames_.empty())
        return;
    const TableFrame f = std::move(frames_.back());
    frames_.pop_back();
    if (f.border >= 1)
        DrawBevel(false, f.x, f.top, f.x + f.width, f.top + f.height);
    e_[f.element].Bottom = f.top + f.height + lineHeight_ + 3;
    newLine();
    if (!frames_.empty()) {
        margin_ = frames_.back().x;
    } else {
        margin_ = 4;
        limit_ = NearestEven(surface_.width());
        inTable_ = false;
        // Text after the table starts at the left edge, not at the last cell.
        x_ = margin_ + indent_;
    }
    centring_ = f.savedCentring;
    y_ = f.top + f.height;
}

} // namespace htmlview
