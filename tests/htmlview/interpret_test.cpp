// Tag codes, attribute and colour rules, BODY values, anchors and the title.
#include "htmlview/colors.h"
#include "htmlview/document.h"
#include "htmlview/tag_codes.h"

#include <gtest/gtest.h>

namespace htmlview {
namespace {

// The first element of a one-tag document.
HtmlElement interpreted(const ByteText& html, HtmlDocument* into = nullptr) {
    HtmlDocument local;
    HtmlDocument& doc = into ? *into : local;
    doc.SetDocument(html);
    return doc.Elements.value(0);
}

constexpr HtmlColor rgb(quint32 r, quint32 g, quint32 b) {
    return r + 256 * g + 65536 * b;
}

TEST(InterpretFont, SizesStepsAndFaces) {
    EXPECT_FLOAT_EQ(interpreted("<font size=5>").FontSize, 12.4f);
    EXPECT_FLOAT_EQ(interpreted("<font size=+2>").FontSize, 12.4f);
    EXPECT_FLOAT_EQ(interpreted("<font size=1>").FontSize, 7.6f);
    EXPECT_FLOAT_EQ(interpreted("<font size=-1>").FontSize, 8.8f);
    EXPECT_FLOAT_EQ(interpreted("<font size=big>").FontSize, 10.0f);
    EXPECT_FLOAT_EQ(interpreted("<font>").FontSize, 10.0f);
    EXPECT_EQ(interpreted("<font face=Verdana,Arial>").FontName, "Verdana");
    EXPECT_EQ(interpreted("<font face=,Arial>").FontName, ",Arial");
    EXPECT_EQ(interpreted("<font color=red>").FontName, "Arial"); // the default face
    EXPECT_EQ(interpreted("<font size=3>").Color, kBlack);
}

TEST(InterpretFont, SizesFollowTheDefault) {
    HtmlDocument doc;
    doc.DefaultFontSize = 12;
    EXPECT_FLOAT_EQ(interpreted("<font size=4>", &doc).FontSize, 13.2f);
    EXPECT_FLOAT_EQ(interpreted("<h1>", &doc).FontSize, 19.2f);
    EXPECT_FLOAT_EQ(interpreted("<h6>", &doc).FontSize, 13.2f);
    EXPECT_FLOAT_EQ(interpreted("<big>", &doc).FontSize, 13.0f);
    EXPECT_FLOAT_EQ(interpreted("<small>", &doc).FontSize, 11.0f);
    EXPECT_FLOAT_EQ(interpreted("<h1>").FontSize, 17.2f);
    EXPECT_FLOAT_EQ(interpreted("<h3>").FontSize, 14.8f);
}

TEST(Colors, HexNamesAndShortValues) {
    const HtmlColor grey = rgb(0xCC, 0xCC, 0xCC);
    EXPECT_EQ(ColorFromAttribute("#CCCCCC"), grey);
    EXPECT_EQ(ColorFromAttribute("CCCCCC"), grey);
    EXPECT_EQ(ColorFromAttribute("#ff0000"), rgb(255, 0, 0));
    EXPECT_EQ(ColorFromAttribute("Red"), rgb(255, 0, 0));
    EXPECT_EQ(ColorFromAttribute("orange"), kBlack);
    EXPECT_EQ(ColorFromAttribute("fff"), rgb(0xff, 0xf, 0xff)); // not expanded
    EXPECT_EQ(NamedColor("NAVY"), rgb(0, 0, 0x80));
    EXPECT_EQ(NamedColor("teal"), rgb(0, 0x80, 0x80));
    EXPECT_EQ(NamedColor("fuchsia"), rgb(0xFF, 0, 0xFF));
    EXPECT_EQ(interpreted("<font color=\"#336699\">").Color, rgb(0x33, 0x66, 0x99));
}

TEST(InterpretBody, DocumentWideValues) {
    HtmlDocument doc;
    doc.SetDocument("<html><body bgcolor=#ffffff text=navy link=red background=bg.gif>x");
    EXPECT_EQ(doc.BackColor, kWhite);
    EXPECT_EQ(doc.TextColor, rgb(0, 0, 0x80));
    EXPECT_EQ(doc.LinkColor, rgb(0xFF, 0, 0));
    EXPECT_EQ(doc.BackgroundImage, "bg.gif");
    // A later document resets text and link colours but keeps the background.
    doc.SetDocument("<html><body>y");
    EXPECT_EQ(doc.BackColor, kWhite);
    EXPECT_EQ(doc.TextColor, kBlack);
    EXPECT_EQ(doc.LinkColor, kDefaultLinkColor);
    EXPECT_TRUE(doc.BackgroundImage.isEmpty());
}

TEST(InterpretCells, WidthsSpansAndAlignment) {
    EXPECT_FLOAT_EQ(interpreted("<td width=50%>").CellWidth, 0.5f);
    EXPECT_FLOAT_EQ(interpreted("<td width=120px>").CellWidth, 120.0f);
    EXPECT_FLOAT_EQ(interpreted("<td>").CellWidth, 1.0f);
    EXPECT_FLOAT_EQ(interpreted("<td width=100%>").CellWidth, 1.0f);
    EXPECT_FLOAT_EQ(interpreted("<td width=wide>").CellWidth, 1.0f);
    EXPECT_EQ(interpreted("<td>").ColSpan, 1);
    EXPECT_EQ(interpreted("<th colspan=3>").ColSpan, 3);
    EXPECT_TRUE(interpreted("<td align=Center>").AlignCenter);
    EXPECT_TRUE(interpreted("<td align=right>").AlignRight);
    EXPECT_FALSE(interpreted("<td align=left>").AlignCenter);
}

TEST(InterpretTables, WidthBorderPaddingSpacing) {
    EXPECT_FLOAT_EQ(interpreted("<table width=600>").TableWidth, 600.0f);
    EXPECT_FLOAT_EQ(interpreted("<table width=\"100%\">").TableWidth, 1.0f);
    EXPECT_FLOAT_EQ(interpreted("<table>").TableWidth, 1.0f);
    EXPECT_FLOAT_EQ(interpreted("<table width=600px>").TableWidth, 1.0f); // not converted
    const HtmlElement t = interpreted("<table border=1 cellpadding=4 cellspacing=0 align=center>");
    EXPECT_EQ(t.Border, 1);
    EXPECT_EQ(t.CellPadding, 4);
    EXPECT_EQ(t.CellSpacing, 0);
    EXPECT_TRUE(t.AlignCenter);
    const HtmlElement d = interpreted("<table border=thick>");
    EXPECT_EQ(d.Border, 0);
    EXPECT_EQ(d.CellPadding, 2);
    EXPECT_EQ(d.CellSpacing, 2);
}

TEST(InterpretImages, SourcesSizesAndSpaces) {
    const HtmlElement i = interpreted("<img src=\"a&#038;b.gif\" alt='Logo' width=50 height=20>");
    EXPECT_EQ(i.TagType, tag::Image);
    EXPECT_EQ(i.Src, "a&b.gif");
    EXPECT_EQ(i.Alt, "Logo");
    EXPECT_EQ(i.ImageWidth, 50);
    EXPECT_EQ(i.ImageHeight, 20);
    EXPECT_EQ(i.HSpace, 2);
    EXPECT_EQ(i.VSpace, 2);
    const HtmlElement j = interpreted("<img src=x width=50% hspace=0 vspace=99999 border=2>");
    EXPECT_EQ(j.ImageWidth, 0); // "50%" does not convert
    EXPECT_EQ(j.HSpace, 0);
    EXPECT_EQ(j.VSpace, 2); // out of the 16-bit range
    EXPECT_EQ(j.Border, 2);
}

TEST(InterpretLinks, TargetsNamesAndAnchors) {
    HtmlDocument doc;
    doc.EnableAnchors = true;
    doc.SetDocument("<body><a href=\"p&#038;q.html\" title='T'>x</a><a name=top></a>"
                    "<a id=second>");
    EXPECT_EQ(doc.Anchors, (QList<int>{1, 4, 6}));
    const HtmlElement& link = doc.Elements[1];
    EXPECT_EQ(link.Href, "p&q.html");
    EXPECT_EQ(link.TitleText, "T");
    EXPECT_EQ(doc.Elements[4].AnchorName, "top");
    EXPECT_EQ(doc.Elements[6].AnchorName, "second");

    HtmlDocument without;
    without.SetDocument("<body><a href=x>x</a>");
    EXPECT_TRUE(without.Anchors.isEmpty());
    without.EnableAnchors = true; // too late for this document
    EXPECT_TRUE(without.Anchors.isEmpty());
}

TEST(InterpretText, WordsKeepEmptyPieces) {
    HtmlDocument doc;
    doc.SetDocument("<p> a&#032;b  c </p>");
    const HtmlElement& text = doc.Elements[1];
    EXPECT_EQ(text.TagType, tag::Text);
    EXPECT_FALSE(text.IsTag);
    // Runs of up to 8 spaces are shortened before the entity is decoded.
    EXPECT_EQ(text.Words, (QList<ByteText>{"", "a", "b", "c", ""}));
    doc.SetDocument("<p>single</p>");
    EXPECT_EQ(doc.Elements[1].Words, (QList<ByteText>{"single"}));
}

TEST(DocumentTitle, FirstTitleOrUnknown) {
    HtmlDocument doc;
    doc.SetDocument("<html><head><title>Issue &#060;5&#062;</title></head></html>");
    EXPECT_EQ(doc.DocumentTitle(), "Issue <5>");
    doc.SetDocument("<title></title>");
    EXPECT_EQ(doc.DocumentTitle(), "</title>");
    doc.SetDocument("<html><body>x</body></html>");
    EXPECT_EQ(doc.DocumentTitle(), "Unknown");
    doc.SetDocument("<html><title>"); // TITLE as the last element
    EXPECT_EQ(doc.DocumentTitle(), "Unknown");
}

TEST(Normalised, DocumentReadsBackNormalised) {
    HtmlDocument doc;
    doc.SetDocument("<p>&lt;    x</p>");
    EXPECT_EQ(doc.Normalized, "<p>&#060; x</p>");
}

} // namespace
} // namespace htmlview
