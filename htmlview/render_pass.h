#pragma once
// One layout pass over a document: the pen state, the running style and the
// table frames. Split over render_pass.cpp (the element loop and block tags),
// render_text.cpp (word flow), render_image.cpp (pictures and bevels),
// table_layout.cpp (tables) and table_measure.cpp (what table columns need).

#include "htmlview/column_widths.h"
#include "htmlview/display_list.h"
#include "htmlview/document.h"
#include "htmlview/font_tags.h"
#include "htmlview/render.h"
#include "htmlview/table_grid.h"
#include "htmlview/text_metrics.h"

#include <QHash>

#include <optional>
#include <vector>

namespace htmlview {

struct TableFrame {
    bool savedCentring = false;
    // The block the table sits in, given back when it ends.
    int outerMargin = 0;
    int outerLimit = 0;
    int outerDrawnBottom = 0;
    // Cells and rows the markup left open are closed by what follows.
    bool cellOpen = false;
    bool rowOpen = false;
    int border = 0;
    int x = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int rowTop = 0;
    int rowHeight = 0;
    int nextCellOffset = 0;
    int cellLimit = 0;
    struct Cell {
        int left;
        int right;
    };
    std::vector<Cell> cells; // of the current row, any number
    int padding = 0;
    int spacing = 0;
    int element = 0;
};

class RenderPass {
public:
    RenderPass(HtmlDocument& doc, HtmlSurface& surface, DisplayList& out,
               const ImageLoader& loader);
    void Run();
    // Widths the pass holds measured at its end.
    size_t cachedWidths() const { return metrics_.cachedWidths(); }

private:
    // Style and metrics.
    void ResetFont();
    void syncFont();
    int textWidth(const ByteText& text);
    // The height of a line of the current font.
    int textHeight();
    int standardLineHeight();
    void recomputeLineHeight() { lineHeight_ = standardLineHeight(); }
    void recomputeUnit();
    void newLine();
    // Moves the pen to a fresh line at y (a cell's top, below a table).
    void startLineAt(int y);
    // Something reaching down to bottom was drawn on the current line.
    void markLine(int bottom);
    void drawKeepLine(const ByteText& text);
    void drawEndLine(const ByteText& text);
    // A line leaves the text position at its end point.
    void drawLine(int x1, int y1, int x2, int y2, HtmlColor color);

    // The element loop.
    void layoutElement(int index);
    void styleAndBlockTag(int index);
    void listTag(HtmlElement& e, bool opening, bool ordered);
    void listItem(HtmlElement& e);
    void headingTags(HtmlElement& e);

    // Text.
    void flowText(HtmlElement& e);
    void flowLeftAligned(HtmlElement& e);
    void flowCentredOrRight(HtmlElement& e);
    void drawPiece(ByteText piece);

    // Pictures and frames.
    QImage pictureOf(int index);
    void drawImage(int index);
    void DrawBevel(bool sunken, int left, int top, int right, int bottom);
    void openAnchor(int index);
    void closeAnchor();

    // Tables.
    void measureTables(int body);
    void tableOpen(int index);
    void rowOpen(HtmlElement& e);
    void cellOpen(HtmlElement& e);
    void cellClose();
    void rowClose();
    void tableClose();

    HtmlDocument& doc_;
    HtmlElements& e_;
    HtmlSurface& surface_;
    DisplayList& out_;
    const ImageLoader& loader_;

    TextStyle style_;
    bool fontSynced_ = false;
    TextMetrics metrics_;

    int x_ = 4;
    int y_ = 4;
    int textX_ = 0;
    int textY_ = 0;
    int margin_ = 4;
    int limit_ = 0;
    int indent_ = 0;
    int hang_ = 0;
    int lineHeight_ = 0;
    // Whether anything was drawn on the current line, and the lowest y its
    // content needs before the next line (a larger font, a picture).
    bool lineUsed_ = false;
    int lineBottom_ = 0;
    // The lowest y anything drawn in the current cell reaches.
    int drawnBottom_ = 0;
    int unit_ = 0;
    bool blankLine_ = false;
    int listDepth_ = 0;
    std::vector<bool> ordered_;
    std::vector<int> counter_;
    std::vector<TableFrame> frames_;
    std::optional<TableGrid> grid_;
    // What the columns of tables with more than one column need, by table.
    QHash<int, ColumnMinimums> minimums_;
    // Pictures loaded while measuring tables, drawn (and dropped) later.
    QHash<int, QImage> pictures_;
    bool inTable_ = false;
    int openAnchor_ = -1;
    int anchorRight_ = 0;
    bool centring_ = false;
    bool rightAlign_ = false;
    bool hidden_ = false;
    bool underlinePending_ = false;
};

} // namespace htmlview
