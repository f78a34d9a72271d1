// Layout numbers on the fixed-metrics surface (8 x 16 glyphs, 20-pixel
// lines, 16-pixel indent unit at 10 points).
#include "laid_out_document.h"

#include <gtest/gtest.h>

namespace htmlview::test {
namespace {

void expectDrawnAt(const LaidOutDocument& d, const char* text, int x, int y) {
    const DrawItem* item = d.drawn(QString::fromUtf8(text));
    ASSERT_NE(item, nullptr) << text << "\n" << d.dump().toStdString();
    EXPECT_EQ(item->x1, x) << text;
    EXPECT_EQ(item->y1, y) << text;
}

TEST(Layout, WordsFlowAndWrap) {
    LaidOutDocument d("<html><body>Hello world</body></html>");
    expectDrawnAt(d, "Hello", 4, 4);
    expectDrawnAt(d, " world", 44, 4);
    const HtmlElement& text = d.element("Hello world");
    EXPECT_EQ(text.Top, 4);
    EXPECT_EQ(text.Left, 4);
    EXPECT_EQ(text.Bottom, 28);
    EXPECT_EQ(text.Right, 92);

    // limit - 4 = 96: " cccc" would end at 116 and wraps without its space.
    LaidOutDocument w("<html><body>aaaa bbbb cccc</body>", 100);
    expectDrawnAt(w, "aaaa", 4, 4);
    expectDrawnAt(w, " bbbb", 36, 4);
    expectDrawnAt(w, "cccc", 4, 24);
}

TEST(Layout, WordWiderThanTheLineGetsALineOfItsOwn) {
    LaidOutDocument d("<html><body>ab<b>abcdefghijklmnop</b>", 100);
    expectDrawnAt(d, "ab", 4, 4);
    expectDrawnAt(d, "abcdefghijklmnop", 4, 24); // runs past the right edge
}

TEST(Layout, PiecesBetweenTagsAreSeparated) {
    LaidOutDocument d("<html><body>x<b>y</b>z<i>.w</i>");
    EXPECT_EQ(d.drawnTexts(), (QStringList{"x", " y", " z", ".w"}));
    const DrawItem* y = d.drawn(QStringLiteral(" y"));
    ASSERT_NE(y, nullptr);
    EXPECT_TRUE(d.renderer.displayList().font(y->font).bold);
}

TEST(Layout, ParagraphsAndBreaks) {
    LaidOutDocument d("<html><body>a<p>b</p>c<br>d<p>e</p><p>f</p>");
    expectDrawnAt(d, "a", 4, 4);
    expectDrawnAt(d, "b", 4, 24);
    expectDrawnAt(d, "c", 4, 44); // "</p>" adds the blank line
    expectDrawnAt(d, "d", 4, 64);
    expectDrawnAt(d, "e", 4, 84);
    expectDrawnAt(d, "f", 4, 124); // "</p><p>": one blank line between paragraphs
}

TEST(Layout, NumberedListWithBlankLinesAround) {
    LaidOutDocument d("<html><body><ol><li>x<li>y</ol>z</body>");
    expectDrawnAt(d, "1. ", 20, 44);
    expectDrawnAt(d, "x", 44, 44);
    expectDrawnAt(d, "2. ", 20, 64);
    expectDrawnAt(d, "y", 44, 64);
    expectDrawnAt(d, "z", 4, 84);
    EXPECT_TRUE(d.element("<li>").ListNumbered);
    EXPECT_EQ(d.element("<li>").ListNumber, 1);
}

TEST(Layout, ItemTextStartsBehindLongNumbers) {
    ByteText html = "<html><body><ol>";
    for (int i = 1; i <= 100; ++i)
        html += "<li>x" + ByteText::number(i);
    LaidOutDocument d(html + "</ol></body>", 400, 300);
    // "W. " is 24 pixels, and so is "9. "; "99. " is 32 and "100. " 40.
    expectDrawnAt(d, "9. ", 20, 204);
    expectDrawnAt(d, "x9", 44, 204);
    expectDrawnAt(d, "99. ", 20, 2004);
    expectDrawnAt(d, "x99", 52, 2004);
    expectDrawnAt(d, "100. ", 20, 2024);
    expectDrawnAt(d, "x100", 60, 2024);
}

TEST(Layout, NestedListAddsNoBlankLines) {
    LaidOutDocument d("<html><body><ul><li>a<ul><li>b</ul><li>c</ul>");
    const QString bullet = QString(QChar(0x2022)) + QStringLiteral("  ");
    const auto& items = d.renderer.displayList().items();
    QList<QPoint> bullets;
    for (const DrawItem& item : items) {
        if (cp1251::toUnicode(d.renderer.displayList().text(item)) == bullet)
            bullets.append(QPoint(item.x1, item.y1));
    }
    ASSERT_EQ(bullets.size(), 3);
    EXPECT_EQ(bullets[0], QPoint(20, 44));
    EXPECT_EQ(bullets[1], QPoint(36, 64)); // one unit deeper, the very next line
    EXPECT_EQ(bullets[2], QPoint(20, 84));
}

TEST(Layout, HeadingsChangeSizeAndLineHeight) {
    // H1 at 10 points: 17.2 points, 14 x 28 glyphs, a 32-pixel line.
    LaidOutDocument d("<html><body>a<h1>T</h1>b</body>");
    expectDrawnAt(d, "a", 4, 4);
    expectDrawnAt(d, "T", 4, 36);
    expectDrawnAt(d, "b", 4, 68);
    const DrawItem* t = d.drawn(QStringLiteral("T"));
    const FontState& font = d.renderer.displayList().font(t->font);
    EXPECT_TRUE(font.bold);
    EXPECT_NEAR(font.size, 17.2, 1e-4);
    EXPECT_FALSE(d.renderer.displayList().font(d.drawn(QStringLiteral("b"))->font).bold);
    // A heading at the very top does not start with a new line.
    LaidOutDocument top("<html><body><h2>T</h2>");
    expectDrawnAt(top, "T", 4, 4);
}

TEST(Layout, CentredAndRightAlignedLines) {
    LaidOutDocument d("<html><body><center>ab cd</center>x</body>");
    expectDrawnAt(d, "ab cd", 182, 4); // (400 - 4 - 40) / 2 + 4
    expectDrawnAt(d, "x", 4, 24);      // centred text ends with a new line
    EXPECT_TRUE(d.element("ab cd").AlignCenter);

    LaidOutDocument narrow("<html><body><center>aaaa bbbb cccc</center>", 100);
    // Lines are filled while margin + width <= limit - 8.
    expectDrawnAt(narrow, "aaaa bbbb", 16, 4);
    expectDrawnAt(narrow, "cccc", 36, 24);
}

TEST(Layout, LinkBoxesAndColours) {
    LaidOutDocument d("<html><body>see <a href=p.html>the page</a> now</body>");
    const HtmlElement& a = d.element("<a href=p.html>");
    EXPECT_EQ(a.Top, 4);
    EXPECT_EQ(a.Left, 28);
    EXPECT_EQ(a.Bottom, 20);
    EXPECT_EQ(a.Right, 100);
    // The separator before the first word is drawn alone, not underlined.
    const DrawItem* space = d.drawn(QStringLiteral(" "));
    ASSERT_NE(space, nullptr);
    EXPECT_EQ(space->x1, 28);
    EXPECT_EQ(space->color, kDefaultLinkColor);
    EXPECT_FALSE(d.renderer.displayList().font(space->font).underline);
    const DrawItem* the = d.drawn(QStringLiteral("the"));
    ASSERT_NE(the, nullptr);
    EXPECT_EQ(the->x1, 36);
    EXPECT_TRUE(d.renderer.displayList().font(the->font).underline);
    const DrawItem* now = d.drawn(QStringLiteral(" now"));
    ASSERT_NE(now, nullptr);
    EXPECT_EQ(now->color, kBlack);
    EXPECT_FALSE(d.renderer.displayList().font(now->font).underline);
}

TEST(Layout, LinkThatWrapsStartsItsBoxOnTheNewLine) {
    LaidOutDocument d("<html><body>aaaaaaaaa <a href=x>bbbb</a>", 100);
    const HtmlElement& a = d.element("<a href=x>");
    EXPECT_EQ(a.Top, 24);
    EXPECT_EQ(a.Left, 4);
    EXPECT_EQ(a.Right, 36);
    EXPECT_EQ(a.Bottom, 40);
}

TEST(Layout, ImagesWithAndWithoutPictures) {
    LaidOutDocument d("<html><body>a<img src=p.gif width=30 height=40>b<br>c</body>", 400, 300,
                      PicturesOf(10, 10));
    const HtmlElement& img = d.element("<img src=p.gif width=30 height=40>");
    EXPECT_EQ(img.Bottom, 52); // the line grew to 40 + 2 x 2
    expectDrawnAt(d, " b", 46, 4);
    expectDrawnAt(d, "c", 4, 48);
    ASSERT_EQ(d.renderer.displayList().items()[1].kind, DrawItem::Picture);
    EXPECT_EQ(d.renderer.displayList().items()[1].x1, 14);
    EXPECT_EQ(d.renderer.displayList().items()[1].y1, 6);

    LaidOutDocument own("<html><body><img src=p.gif>", 400, 300, PicturesOf(25, 15));
    EXPECT_EQ(own.element("<img src=p.gif>").ImageWidth, 25);
    EXPECT_EQ(own.element("<img src=p.gif>").ImageHeight, 15);

    LaidOutDocument alt("<html><body>a<img src=missing.gif alt=Logo>b</body>", 400, 300,
                        PicturesOf(1, 1));
    expectDrawnAt(alt, "[Logo]", 12, 4);
    expectDrawnAt(alt, " b", 68, 4); // past "[Logo] "
    LaidOutDocument none("<html><body>a<img src=missing.gif>b</body>", 400, 300, PicturesOf(1, 1));
    expectDrawnAt(none, " b", 12, 4); // takes no space
}

TEST(Layout, CentredImageAndBorder) {
    LaidOutDocument d("<html><body><center><img src=p.gif width=100 height=10 border=1></center>",
                      400, 300, PicturesOf(1, 1));
    const auto& items = d.renderer.displayList().items();
    // A sunken bevel of four lines, then the picture inside it.
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0].kind, DrawItem::Line);
    EXPECT_EQ(items[0].x1, 4 + 148 + 2); // margin + (400 - 4 - 100) \ 2 + HSpace
    EXPECT_EQ(items[0].color, kButtonShadow);
    EXPECT_EQ(items[4].kind, DrawItem::Picture);
    EXPECT_EQ(items[4].x1, 155);
    EXPECT_EQ(items[4].y1, 7); // Y + border + VSpace
}

TEST(Layout, HorizontalRuleAcrossTheBlockBelowTheLine) {
    LaidOutDocument d("<html><body>a<hr>b</body>");
    const auto& items = d.renderer.displayList().items();
    ASSERT_EQ(items[1].kind, DrawItem::Line);
    EXPECT_EQ(items[1].x1, 4);
    EXPECT_EQ(items[1].x2, 396);
    // Under "a" (4 to 20), not through it; then 5 pixels down.
    EXPECT_EQ(items[1].y1, 24);
    expectDrawnAt(d, "b", 4, 29);
    LaidOutDocument first("<html><body><hr>b</body>");
    EXPECT_EQ(first.renderer.displayList().items()[0].y1, 4);
    expectDrawnAt(first, "b", 4, 9);
}

TEST(Layout, HiddenTextAndNoBody) {
    LaidOutDocument hidden("<html><body>a<script>var x;</script><style>p{}</style>b</body>");
    EXPECT_EQ(hidden.drawnTexts(), (QStringList{"a", " b"}));
    LaidOutDocument noBody("<html><p>text</p></html>");
    EXPECT_TRUE(noBody.renderer.displayList().items().empty());
    LaidOutDocument firstIsBody("<body>text</body>");
    EXPECT_TRUE(firstIsBody.renderer.displayList().items().empty());
}

TEST(Layout, FontAndResetFont) {
    LaidOutDocument d("<html><body><b>a<font color=red size=5>b</font>c</b>");
    const DisplayList& list = d.renderer.displayList();
    const DrawItem* b = d.drawn(QStringLiteral(" b"));
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->color, 0x0000FFu);
    EXPECT_NEAR(list.font(b->font).size, 12.4, 1e-4);
    EXPECT_TRUE(list.font(b->font).bold);
    const DrawItem* c = d.drawn(QStringLiteral(" c"));
    ASSERT_NE(c, nullptr);
    EXPECT_FALSE(list.font(c->font).bold); // "/FONT" ends the bold too
    EXPECT_EQ(c->color, kBlack);
}

TEST(Layout, BlockquoteIndents) {
    LaidOutDocument d("<html><body>a<blockquote>b</blockquote>c</body>");
    expectDrawnAt(d, "b", 20, 44); // two lines down, one unit in
    // "/BLOCKQUOTE" moves back by a unit from where the pen stood.
    const DrawItem* c = d.drawn(QStringLiteral(" c"));
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->y1, 64);
}

} // namespace
} // namespace htmlview::test
