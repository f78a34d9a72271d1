// Table layout: column widths, cell boxes, row heights, frames, nesting.
#include "htmlview/column_widths.h"
#include "htmlview/table_grid.h"
#include "htmlview/tag_codes.h"
#include "laid_out_document.h"

#include <gtest/gtest.h>

namespace htmlview::test {
namespace {

QList<int> cellWidths(const LaidOutDocument& d) {
    QList<int> widths;
    for (const HtmlElement& e : d.doc.Elements) {
        if (e.TagType == tag::Cell)
            widths.append(e.CellPixelWidth);
    }
    return widths;
}

int lineCount(const LaidOutDocument& d) {
    int lines = 0;
    for (const DrawItem& item : d.renderer.displayList().items())
        lines += item.kind == DrawItem::Line;
    return lines;
}

TEST(TableLayout, AutomaticColumnsShareTheAvailableWidth) {
    LaidOutDocument d(
        "<html><body><table width=600 border=1><tr><td>a</td><td>b</td></tr></table>x</body>", 700);
    // 600 - 2 x 1 x 3 - 2 x 2 = 590, in two equal columns.
    EXPECT_EQ(cellWidths(d), (QList<int>{295, 295}));
    EXPECT_EQ(d.element("<table width=600 border=1>").TablePixelWidth, 600);
    const DrawItem* a = d.drawn(QStringLiteral("a"));
    const DrawItem* b = d.drawn(QStringLiteral("b"));
    ASSERT_TRUE(a && b);
    EXPECT_EQ(QPoint(a->x1, a->y1), QPoint(9, 9));
    EXPECT_EQ(QPoint(b->x1, b->y1), QPoint(308, 9));
    // Two sunken cell frames and a raised table frame, four lines each.
    EXPECT_EQ(lineCount(d), 12);
    const auto& items = d.renderer.displayList().items();
    std::vector<const DrawItem*> lines;
    for (const DrawItem& item : items) {
        if (item.kind == DrawItem::Line)
            lines.push_back(&item);
    }
    // First cell: top edge (7, 6)-(303, 6) in the shadow colour.
    EXPECT_EQ(QRect(QPoint(lines[0]->x1, lines[0]->y1), QPoint(lines[0]->x2, lines[0]->y2)),
              QRect(QPoint(7, 6), QPoint(303, 6)));
    EXPECT_EQ(lines[0]->color, kButtonShadow);
    EXPECT_EQ(lines[2]->x1, 303); // right edge
    EXPECT_EQ(lines[2]->y2, 27);  // row top 5 + row height 22
    // Table: (4, 4) to (604, 29), raised: top edge highlighted.
    EXPECT_EQ(QPoint(lines[8]->x1, lines[8]->y1), QPoint(4, 4));
    EXPECT_EQ(lines[8]->x2, 604);
    EXPECT_EQ(lines[8]->color, kWhite);
    EXPECT_EQ(lines[9]->y2, 29);
    EXPECT_EQ(d.element("<table width=600 border=1>").Bottom, 52);
    const DrawItem* x = d.drawn(QStringLiteral("x"));
    ASSERT_NE(x, nullptr);
    EXPECT_EQ(QPoint(x->x1, x->y1), QPoint(4, 29));
}

TEST(TableLayout, PercentageColumns) {
    LaidOutDocument d("<html><body><table width=100% cellspacing=0 cellpadding=0><tr>"
                      "<td width=40%>a</td><td width=60%>b</td></tr></table>");
    EXPECT_EQ(d.element("<table width=100% cellspacing=0 cellpadding=0>").TablePixelWidth, 388);
    EXPECT_EQ(cellWidths(d), (QList<int>{155, 233}));
}

TEST(TableLayout, AbsoluteColumnsWidenAnAbsoluteTable) {
    LaidOutDocument d("<html><body><table width=200 cellspacing=0><tr><td width=150>a</td>"
                      "<td width=100px>b</td></tr></table>");
    EXPECT_EQ(d.element("<table width=200 cellspacing=0>").TablePixelWidth, 250);
    EXPECT_EQ(cellWidths(d), (QList<int>{150, 100}));
}

TEST(TableLayout, NarrowAbsoluteColumnsAreScaledToTheTable) {
    LaidOutDocument d("<html><body><table width=300 cellspacing=0><tr><td width=50>a</td>"
                      "<td width=100>b</td></tr></table>");
    EXPECT_EQ(cellWidths(d), (QList<int>{100, 200}));
}

TEST(TableLayout, SpannedCellTakesBothColumnsAndAGap) {
    LaidOutDocument d("<html><body><table width=600 border=1><tr><td>a</td><td>b</td></tr>"
                      "<tr><td colspan=2>c</td></tr></table>",
                      700);
    EXPECT_EQ(cellWidths(d), (QList<int>{295, 295, 594}));
    const DrawItem* c = d.drawn(QStringLiteral("c"));
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->x1, 9);
    EXPECT_GT(c->y1, d.drawn(QStringLiteral("a"))->y1 + 16);
}

TEST(TableLayout, OnlySpannedRowsShareEvenly) {
    LaidOutDocument d("<html><body><table width=300 border=0 cellspacing=0><tr><td colspan=3>a</td>"
                      "</tr></table>");
    EXPECT_EQ(cellWidths(d), (QList<int>{300}));
}

TEST(TableLayout, NoFramesWithoutBorder) {
    LaidOutDocument d("<html><body><table border=0><tr><td>a</td></tr></table>");
    EXPECT_EQ(lineCount(d), 0);
}

TEST(TableLayout, TallPictureMakesTheRowTall) {
    LaidOutDocument d("<html><body><table border=0 cellspacing=0 cellpadding=0><tr><td>"
                      "<img src=p.gif width=20 height=50></td><td>x</td></tr></table>y</body>",
                      400, 300, PicturesOf(1, 1));
    const DrawItem* y = d.drawn(QStringLiteral("y"));
    ASSERT_NE(y, nullptr);
    EXPECT_GE(y->y1, 4 + 50 + 4);
}

TEST(TableLayout, NestedTableSitsInsideItsCell) {
    LaidOutDocument d("<html><body><table width=300 border=1 cellpadding=4><tr><td>"
                      "<table width=100% border=1><tr><td>in</td></tr></table>"
                      "</td><td>out</td></tr></table></body>");
    const HtmlElement& inner = d.element("<table width=100% border=1>");
    const HtmlElement& outer = d.element("<table width=300 border=1 cellpadding=4>");
    EXPECT_GT(inner.TablePixelWidth, 0);
    EXPECT_LT(inner.TablePixelWidth, outer.TablePixelWidth / 2);
    const DrawItem* in = d.drawn(QStringLiteral("in"));
    const DrawItem* out = d.drawn(QStringLiteral("out"));
    ASSERT_TRUE(in && out);
    EXPECT_GT(in->x1, 9);
    EXPECT_LT(in->x1, out->x1);
    EXPECT_EQ(lineCount(d),
              4 * (2 + 1 + 1 + 1)); // two outer cells, outer table, inner cell and table
}

TEST(TableLayout, DeepNestingAndWideRowsAreLaidOut) {
    ByteText html = "<html><body>";
    for (int i = 0; i < 40; ++i)
        html += "<table border=1><tr><td>";
    html += "deep";
    for (int i = 0; i < 40; ++i)
        html += "</td></tr></table>";
    html += "<table border=1><tr>";
    for (int i = 0; i < 30; ++i)
        html += "<td>" + ByteText::number(i) + "</td>";
    html += "</tr></table>";
    LaidOutDocument d(html, 2000);
    EXPECT_NE(d.drawn(QStringLiteral("deep")), nullptr);
    EXPECT_NE(d.drawn(QStringLiteral("29")), nullptr);
    const DrawItem* first = d.drawn(QStringLiteral("0"));
    const DrawItem* last = d.drawn(QStringLiteral("29"));
    EXPECT_LT(first->x1, last->x1);
}

TEST(TableLayout, StrayTableTagsDoNothing) {
    LaidOutDocument d("<html><body>a</td></tr></table><td>b<tr>c</body>");
    EXPECT_EQ(d.drawnTexts().size(), 3);
}

TEST(ColumnWidths, CellBeforeAnyRowStartsOne) {
    // A cell without a TR would otherwise get no width and stand one word
    // to a line.
    HtmlDocument doc;
    doc.SetDocument("<html><table width=100 cellspacing=0><td>a</td></table>");
    doc.Elements[1].TablePixelWidth = 100;
    const TableGrid grid(doc.Elements);
    ComputeColumnWidths(doc.Elements, 1, grid.shape(1));
    EXPECT_EQ(doc.Elements[2].CellPixelWidth, 100);
}

} // namespace
} // namespace htmlview::test
