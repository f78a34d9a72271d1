// A saved page as a book page: whatever the site's markup, the result is
// valid XHTML without scripts or forms, and every id a link may aim at is
// there.
#include "ebook/epub_package.h"
#include "ebook/xhtml_page.h"
#include "tests/support/epub_reader.h"
#include "tests/support/xhtml_check.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

// Every link and picture kept as it is written.
class AsWritten : public PageReferences {
public:
    QByteArray linkTarget(const QByteArray& href) override { return href; }
    QByteArray pictureTarget(const QByteArray& src) override { return src; }
};

QByteArray convert(const char* page) {
    AsWritten references;
    const HtmlDocument document(W(page));
    return ContentDocument(QStringLiteral("Страница"), ConvertPageBody(document, references));
}

// The kind of page the sites serve, and worse: scripts, a form, a frame,
// presentational markup, blocks inside text, items without a list, text in a
// list, a link inside a link, a layout table and a table of figures.
const char HostilePage[] =
    "<html><head><title>Ведомир: новости</title><style>p{color:red}</style>"
    "<script>document.write('<p>сценарий</p>')</script></head>"
    "<body bgcolor=#ffffff onload=\"steal()\"><center><font size=3 color=red>"
    "<div class=\"date\">23 ноября 2006</div></font></center>"
    "<p>Начало <div>блок в абзаце</div> конец</p>"
    "<span>строка <h2>заголовок в строке</h2></span>"
    "<li>пункт без списка</li>"
    "<ul>текст в списке<li>пункт<li>ещё <p>абзац</p></ul>"
    "<a href=\"page1.html\">внешняя <a href=\"page2.html\">вложенная</a></a>"
    "<form action=/vote><input name=q value=\"голос\"><select><option>вариант</select>"
    "<button onclick=\"x()\">Нажми</button></form>"
    "<iframe src=\"http://ads.example/\"></iframe><noscript>без сценариев</noscript>"
    "<table width=600><tr><td><div>ячейка с блоком</div><td>вторая</table>"
    "<table border=1><tr><th>Курс</th><td colspan=2>30,1</td><td colspan=x>?</td></tr></table>"
    "<p style=\"font-size:40px\" class=\"text bad;class\">итог&nbsp;&copy; 2006<hr>"
    "<img src=\"img/a.gif\" width=100></p><marquee>бегущая</marquee></body></html>";

} // namespace

TEST(XhtmlPage, HostileMarkupBecomesValidXhtmlWithoutScriptsOrForms) {
    const QByteArray xhtml = convert(HostilePage);
    EXPECT_EQ(XhtmlFaults(xhtml).join("\n").toStdString(), "") << xhtml.toStdString();
    for (const char* gone : {"<script", "сценарий", "<form", "<input", "голос", "вариант", "Нажми",
                             "onclick", "onload", "<iframe", "без сценариев", "<font", "<center",
                             "style=", "bgcolor", "width=", "<marquee", "color:red"})
        EXPECT_FALSE(xhtml.contains(gone)) << gone;
    for (const char* kept :
         {"<div class=\"date\">23 ноября 2006</div>", "блок в абзаце", "заголовок в строке",
          "пункт без списка", "<li>текст в списке</li>", "<a href=\"page2.html\">вложенная</a>",
          "ячейка с блоком", "<th>Курс</th><td colspan=\"2\">30,1</td><td>?</td>", "class=\"text\"",
          "итог\xC2\xA0\xC2\xA9 2006", "<img src=\"img/a.gif\" alt=\"\"/>", "бегущая"})
        EXPECT_TRUE(xhtml.contains(kept)) << kept << "\n" << xhtml.toStdString();
}

TEST(XhtmlPage, EveryIdALinkMayAimAtIsWrittenOnceWhereverItsElementGoes) {
    const char page[] = "<body><a name=\"top\"></a><font id=\"f\">шрифт</font>"
                        "<p id=\"p\"><div id=\"d\">блок</div><hr id=\"h\"></p>"
                        "<img id=\"gone\" src=\"http://far/away.gif\">"
                        "<ul><font id=\"in-list\">x</font></ul>"
                        "<span id=\"p\">второй p</span><b id=\"глава 1\">глава</b>"
                        "<script id=\"s\"></script><div id=\"  \"></div></body>";
    class NoPictures : public AsWritten {
        QByteArray pictureTarget(const QByteArray&) override { return {}; }
    } references;
    const HtmlDocument document(W(page));
    const QByteArray xhtml =
        ContentDocument(QStringLiteral("x"), ConvertPageBody(document, references));
    EXPECT_EQ(XhtmlFaults(xhtml).join("\n").toStdString(), "") << xhtml.toStdString();

    bool wellFormed = false;
    QSet<QByteArray> written;
    for (const char* element : {"a", "span", "p", "b", "li", "div", "img", "hr"}) {
        for (const QByteArray& id : AttributeValues(xhtml, element, "id", &wellFormed))
            written.insert(id);
    }
    EXPECT_TRUE(wellFormed);
    const QSet<QByteArray> expected = {"top", "f",    "p",       "d",
                                       "h",   "gone", "in-list", "n___________1"};
    EXPECT_EQ(written, expected);
    EXPECT_EQ(PageIds(document), expected) << "links are checked against what the page holds";
}

TEST(XhtmlPage, TheCodePagesUndefinedByteAndControlCharactersDoNotCutThePage) {
    // 0x98 has no character in Windows-1251; a decoder that stops there
    // would lose the rest of the page.
    const ByteText page =
        "<p>" + W("до") + "\x98 \x01\x1F" + W("после") + "</p><p>" + W("второй абзац") + "</p>";
    AsWritten references;
    const QByteArray body = ConvertPageBody(HtmlDocument(page), references);
    EXPECT_EQ(body, "<p>до после</p><p>второй абзац</p>");
}

TEST(XhtmlPage, BookIdsAreMadeOfPlainCharactersStartingWithALetter) {
    EXPECT_EQ(BookId("top"), "top");
    EXPECT_EQ(BookId(" part-2_b "), "part-2_b");
    EXPECT_EQ(BookId("2nd"), "n2nd");
    EXPECT_EQ(BookId("a b\"<c>"), "a_b__c_");
    EXPECT_EQ(BookId("   "), "");
}
