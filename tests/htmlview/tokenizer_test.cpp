// Normalisation, tokens, tag names, attributes, entities and the element tree.
#include "htmlview/attributes.h"
#include "htmlview/document.h"
#include "htmlview/entities.h"
#include "htmlview/hierarchy.h"
#include "htmlview/normalise.h"
#include "htmlview/tag_codes.h"
#include "htmlview/tokenizer.h"

#include <gtest/gtest.h>

namespace htmlview {
namespace {

QList<ByteText> texts(const HtmlElements& elements) {
    QList<ByteText> out;
    for (const HtmlElement& e : elements)
        out.append(e.Text);
    return out;
}

TEST(Normalise, LineBreaksReferencesAndSpaces) {
    EXPECT_EQ(NormaliseDocument("a\r\nb\nc\rd"), "a b c d"); // CR LF is two spaces, shortened
    EXPECT_EQ(NormaliseDocument("&lt;&gt;&quot;&nbsp;&copy;&deg;&amp;&middot;"),
              "&#060;&#062;&#034;&#032;&#169;&#176;&#038;&#183;");
    EXPECT_EQ(NormaliseDocument("&amp;lt;"), "&#038;lt;");
    EXPECT_EQ(DecodeEntities(NormaliseDocument("&amp;lt;")), "&lt;");
    EXPECT_EQ(NormaliseDocument("a\tb"), "a b");
    // Up to eight spaces become one, nine become two.
    EXPECT_EQ(NormaliseDocument("a" + ByteText(8, ' ') + "b"), "a b");
    EXPECT_EQ(NormaliseDocument("a" + ByteText(9, ' ') + "b"), "a  b");
    EXPECT_EQ(NormaliseDocument("a" + ByteText(16, ' ') + "b"), "a  b");
    // Case matters: "&LT;" is left alone.
    EXPECT_EQ(NormaliseDocument("&LT;"), "&LT;");
}

TEST(ParseTokens, TagsTextAndDroppedEdges) {
    EXPECT_EQ(texts(ParseTokens("<html><body>Hi</body></html>")),
              (QList<ByteText>{"<html>", "<body>", "Hi", "</body>", "</html>"}));
    EXPECT_EQ(texts(ParseTokens("Hello <b>x</b> tail")), (QList<ByteText>{"<b>", "x", "</b>"}));
    EXPECT_EQ(texts(ParseTokens("<p> </p>")), (QList<ByteText>{"<p>", "</p>"}));
    EXPECT_EQ(texts(ParseTokens("<p> a </p>")), (QList<ByteText>{"<p>", " a ", "</p>"}));
    EXPECT_EQ(texts(ParseTokens("<!-- a > b --><b>")), (QList<ByteText>{"<!-- a > b -->", "<b>"}));
    EXPECT_TRUE(ParseTokens("no tags at all").isEmpty());
    const HtmlElements e = ParseTokens("<a><b>");
    EXPECT_EQ(e[0].ElementIndex, 0);
    EXPECT_EQ(e[1].ElementIndex, 1);
}

TEST(ParseTokens, UnterminatedTagOrCommentDropsTheRest) {
    EXPECT_EQ(texts(ParseTokens("<b>x<i")), (QList<ByteText>{"<b>", "x"}));
    EXPECT_EQ(texts(ParseTokens("<b>x<!-- never closed <i>y</i>")), (QList<ByteText>{"<b>", "x"}));
    EXPECT_EQ(texts(ParseTokens("<>")), (QList<ByteText>{"<>"}));
    EXPECT_EQ(texts(ParseTokens("<b>x</b><")), (QList<ByteText>{"<b>", "x", "</b>"}));
}

TEST(IsTagToken, FirstAndLastCharacter) {
    EXPECT_TRUE(IsTagToken("<b>"));
    EXPECT_TRUE(IsTagToken("<>"));
    EXPECT_FALSE(IsTagToken(" <b>"));
    EXPECT_FALSE(IsTagToken("<b"));
    EXPECT_FALSE(IsTagToken(""));
}

TEST(TagId, NamesAsTheTableReadsThem) {
    EXPECT_EQ(mstrTagID("<br>"), "BR");
    EXPECT_EQ(mstrTagID("</b>"), "/B");
    EXPECT_EQ(mstrTagID("<font color=red>"), "FONT");
    EXPECT_EQ(mstrTagID("<br/>"), "BR/");
    EXPECT_EQ(mstrTagID("<!-- x -->"), "!--");
    EXPECT_EQ(mstrTagID("<>"), "");
    EXPECT_EQ(mstrTagID("</>"), "/");
    EXPECT_EQ(TagCodeOf("BR/"), tag::Other);
    EXPECT_EQ(TagCodeOf("H3"), tag::Heading);
    EXPECT_EQ(TagCodeOf("/H6"), tag::HeadingEnd);
    EXPECT_EQ(TagCodeOf("TH"), tag::Cell);
    EXPECT_EQ(TagCodeOf("NOFRAMES"), tag::Body);
    EXPECT_EQ(TagCodeOf("br"), tag::Other); // names compare exactly, upper case
}

TEST(Attributes, NamesValuesAndQuotes) {
    QList<ByteText> names, values;
    EXPECT_EQ(mintExtractTagAttributes("<img src='x.gif' width=10>", names, values), 2);
    EXPECT_EQ(names, (QList<ByteText>{"SRC", "WIDTH"}));
    EXPECT_EQ(values, (QList<ByteText>{"x.gif", "10"}));

    EXPECT_EQ(mintExtractTagAttributes("<a href=\"a b\" title = 'T'>", names, values), 2);
    EXPECT_EQ(values, (QList<ByteText>{"a b", "T"}));
    EXPECT_EQ(names[1], "TITLE");

    EXPECT_EQ(mintExtractTagAttributes("<td nowrap width=5>", names, values), 1);
    EXPECT_EQ(names[0], "NOWRAP WIDTH");
    EXPECT_EQ(values[0], "5");

    EXPECT_EQ(mintExtractTagAttributes("<br>", names, values), 0);
    EXPECT_TRUE(names.isEmpty());
    EXPECT_EQ(mintExtractTagAttributes("<hr noshade>", names, values), 0);
    // Values are neither upper-cased nor decoded.
    mintExtractTagAttributes("<a href=A&#038;b>", names, values);
    EXPECT_EQ(values[0], "A&#038;b");
    // A quote that never closes runs to the end of the tag.
    mintExtractTagAttributes("<a href=\"open>", names, values);
    EXPECT_EQ(values[0], "open");
    // "=" at the very end.
    EXPECT_EQ(mintExtractTagAttributes("<a href=>", names, values), 1);
    EXPECT_EQ(values[0], "");
}

TEST(Entities, NumericReferences) {
    EXPECT_EQ(DecodeEntities("&#65;"), "A");
    EXPECT_EQ(DecodeEntities("&#065;&#00065;"), "AA");
    EXPECT_EQ(DecodeEntities("a&#8212;b"), "ab");
    EXPECT_EQ(DecodeEntities("&#999999999999999999999999;x"), "x");
    EXPECT_EQ(DecodeEntities("&#300;"), "?");
    EXPECT_EQ(DecodeEntities("&#192;"), ByteText(1, char(192)));
    EXPECT_EQ(DecodeEntities("&#;x"), "x");
    EXPECT_EQ(DecodeEntities("&#65"), "&#65"); // no ";" anywhere after
    EXPECT_EQ(DecodeEntities("&#65x;"), "A;"); // the character after the digits is skipped
    EXPECT_EQ(DecodeEntities("a\tb\nc"), "a b c");
    EXPECT_EQ(DecodeEntities(NormaliseDocument("a&amp;b")), "a&b");
}

HtmlElements treeOf(const ByteText& html) {
    HtmlDocument doc;
    doc.SetDocument(html);
    return doc.Elements;
}

TEST(Hierarchy, ClosersEndTheInnermostContainer) {
    // 0 <root>, 1 <b>, 2 <i>, 3 x, 4 </b>, 5 y, 6 </i>
    const HtmlElements e = treeOf("<root><b><i>x</b>y</i>");
    ASSERT_EQ(e.size(), 7);
    EXPECT_EQ(e[0].ChildCount, 1);
    EXPECT_EQ(e[2].ChildCount, 1);                // "</b>" closes I ...
    EXPECT_EQ(e[2].Children, (QList<int>{3, 4})); // ... and stays recorded beyond its count
    EXPECT_EQ(e[1].ChildCount, 2);                // I and y
    EXPECT_EQ(e[5].Parent, 1);                    // "y" is a child of B
    EXPECT_EQ(e[5].SiblingIndex, 1);
    EXPECT_EQ(e[6].Parent, 1); // "</i>" closes B
}

TEST(Hierarchy, TopLevelCloserEndsTheTree) {
    const HtmlElements e = treeOf("<html></b><p>late</p>");
    EXPECT_EQ(e[0].ChildCount, 0);
    EXPECT_EQ(e[2].Parent, 0);
    EXPECT_EQ(e[2].SiblingIndex, 0); // never recorded
}

TEST(Hierarchy, Navigation) {
    const HtmlElements e = treeOf("<html><table><tr><td>a</td><td>b</td></tr></table></html>");
    const HtmlElement* table = GetFirstChild(e, e[0]);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->Text, "<table>");
    EXPECT_EQ(GetParent(e, *table), nullptr); // children of the root have none
    const HtmlElement* row = GetFirstChild(e, *table);
    ASSERT_NE(row, nullptr);
    const HtmlElement* cell = GetFirstChild(e, *row);
    ASSERT_NE(cell, nullptr);
    const HtmlElement* second = GetNextSibling(e, *cell);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(e[second->Children[0]].Text, "b");
    EXPECT_EQ(GetNextSibling(e, *second), nullptr);
    EXPECT_EQ(GetParent(e, *second)->Text, "<tr>");
    EXPECT_EQ(GetFirstChild(e, e[second->Children[0]]), nullptr);
}

TEST(Hierarchy, DeepNestingIsBuiltWithoutRecursion) {
    ByteText html = "<html>";
    for (int i = 0; i < 50000; ++i)
        html += "<b>";
    HtmlDocument doc;
    doc.SetDocument(html + "x</b>");
    ASSERT_EQ(doc.Elements.size(), 50003);
    EXPECT_EQ(doc.Elements[50001].Parent, 50000);
    EXPECT_EQ(doc.Elements[50000].ChildCount, 1);
}

} // namespace
} // namespace htmlview
