// The control: properties, saved form, scrolling by keys, links, anchors,
// "VB:" calls of the hosting window.
#include "htmlview/html_label.h"
#include "htmlview/script_call.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace htmlview {
namespace {

class HostWindow : public QWidget {
    Q_OBJECT
public:
    HostWindow() {
        auto* layout = new QVBoxLayout(this);
        label = new HTMLLabel(this);
        layout->addWidget(label);
        resize(420, 320);
    }
    HTMLLabel* label;
    QStringList calls;

public Q_SLOTS:
    void ShowIssue(const QString& number, const QString& extra) {
        calls.append(QStringLiteral("ShowIssue(%1|%2)").arg(number, extra));
    }
    void Ping() { calls.append(QStringLiteral("Ping()")); }
};

ByteText longDocument(int lines) {
    ByteText html = "<html><body>";
    for (int i = 0; i < lines; ++i)
        html += "line " + ByteText::number(i) + "<br>";
    return html + "<a name=end>end</a></body></html>";
}

void release(QWidget* viewport, QPoint at) {
    QMouseEvent event(QEvent::MouseButtonRelease, at, viewport->mapToGlobal(at), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &event);
}

void move(QWidget* viewport, QPoint at) {
    QMouseEvent event(QEvent::MouseMove, at, viewport->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(viewport, &event);
}

QPoint insideAnchor(const HTMLLabel& label, const char* href) {
    for (int index : label.document().Anchors) {
        const HtmlElement& a = label.document().Elements[index];
        if (a.Href == href)
            return QPoint((a.Left + a.Right) / 2,
                          (a.Top + a.Bottom) / 2 - 10 * label.scrollBar()->value());
    }
    ADD_FAILURE() << "no anchor " << href;
    return {};
}

class LabelTest : public ::testing::Test {
protected:
    void SetUp() override {
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
        label().setEnableAnchors(true);
        label().setEnableScroll(true);
        label().setEnableTooltips(true);
    }
    HTMLLabel& label() { return *host.label; }
    HostWindow host;
};

TEST(LabelDefaults, NewControl) {
    HTMLLabel label;
    EXPECT_EQ(label.Version(), QStringLiteral("0.2.0"));
    EXPECT_EQ(label.DefaultFontName(), QStringLiteral("Arial"));
    EXPECT_FLOAT_EQ(label.DefaultFontSize(), 10.0f);
    EXPECT_EQ(label.BackColor(), kButtonFace);
    EXPECT_FALSE(label.EnableTooltips());
    EXPECT_FALSE(label.EnableScroll());
    EXPECT_FALSE(label.EnableAnchors());
    EXPECT_EQ(label.Appearance(), 1);
    EXPECT_EQ(label.BorderStyle(), 1);
    EXPECT_TRUE(label.DocumentHTML().isEmpty());
    EXPECT_EQ(label.DocumentTitle(), QStringLiteral("Unknown"));
}

TEST(LabelSavedForm, WrittenEntriesReadBackAndMissingOnesDefault) {
    HTMLLabel label;
    label.setDefaultFontName(QStringLiteral("Verdana"));
    label.setDefaultFontSize(12.5f);
    label.setBackColor(0x123456);
    label.setEnableScroll(true);
    label.setAppearance(0);
    QVariantMap bag;
    label.WriteProperties(bag);
    EXPECT_EQ(bag.size(), 8);
    EXPECT_EQ(bag.value(QStringLiteral("DefaultFontSize")).typeId(), QMetaType::Float);

    HTMLLabel restored;
    restored.ReadProperties(bag);
    EXPECT_EQ(restored.DefaultFontName(), QStringLiteral("Verdana"));
    EXPECT_FLOAT_EQ(restored.DefaultFontSize(), 12.5f);
    EXPECT_EQ(restored.BackColor(), 0x123456u);
    EXPECT_TRUE(restored.EnableScroll());
    EXPECT_EQ(restored.Appearance(), 0);
    EXPECT_FALSE(restored.EnableTooltips());

    HTMLLabel empty;
    empty.ReadProperties({});
    EXPECT_EQ(empty.DefaultFontName(), QStringLiteral("MS Sans Serif"));
    EXPECT_TRUE(empty.EnableTooltips());
    EXPECT_FALSE(empty.EnableAnchors());
    EXPECT_EQ(empty.BackColor(), kButtonFace);
    EXPECT_EQ(empty.BorderStyle(), 1);
}

TEST_F(LabelTest, DocumentReadsBackNormalisedAndTitled) {
    label().setDocumentHTML("<html><title>T&amp;1</title><body>&lt;  x</body>");
    EXPECT_EQ(label().DocumentHTML(), "<html><title>T&#038;1</title><body>&#060; x</body>");
    EXPECT_EQ(label().DocumentTitle(), QStringLiteral("T&1"));
}

TEST_F(LabelTest, BodyBackgroundStaysForLaterDocuments) {
    label().setDocumentHTML("<html><body bgcolor=#ff0000>x");
    EXPECT_EQ(label().BackColor(), 0x0000FFu);
    label().setDocumentHTML("<html><body>y");
    EXPECT_EQ(label().BackColor(), 0x0000FFu);
    EXPECT_EQ(label().surfaceImage().pixel(1, 1) & 0xFFFFFF, 0xFF0000u);
}

TEST_F(LabelTest, ScrollRangeAndKeys) {
    label().setDocumentHTML(longDocument(100));
    QScrollBar* bar = label().scrollBar();
    const int inner = label().viewPort()->height();
    const int lastBottom = label().document().Elements.back().Bottom;
    EXPECT_EQ(bar->maximum(), (lastBottom + 20 - inner) / 10);
    EXPECT_EQ(bar->pageStep(), inner / 10);
    EXPECT_TRUE(bar->isEnabled());
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->value(), 0);

    QWidget* viewport = label().viewPort();
    QTest::keyClick(viewport, Qt::Key_Up);
    EXPECT_EQ(bar->value(), 0);
    QTest::keyClick(viewport, Qt::Key_Down);
    EXPECT_EQ(bar->value(), 1);
    QTest::keyClick(viewport, Qt::Key_PageDown);
    EXPECT_EQ(bar->value(), 1 + bar->pageStep());
    QTest::keyClick(viewport, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(bar->value(), bar->maximum());
    QTest::keyClick(viewport, Qt::Key_PageDown);
    EXPECT_EQ(bar->value(), bar->maximum());
    QTest::keyClick(viewport, Qt::Key_PageUp);
    EXPECT_EQ(bar->value(), bar->maximum() - bar->pageStep());
    QTest::keyClick(viewport, Qt::Key_End); // without Ctrl: nothing
    EXPECT_EQ(bar->value(), bar->maximum() - bar->pageStep());
    QTest::keyClick(viewport, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(bar->value(), 0);
}

void wheel(QWidget* viewport, int eighths) {
    const QPoint at(20, 20);
    QWheelEvent event(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, eighths), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &event);
}

TEST_F(LabelTest, WheelScrollsByTheDesktopsStepAndUnusedKeysGoToTheWindow) {
    label().setDocumentHTML(longDocument(100));
    QScrollBar* bar = label().scrollBar();
    const int notch = QApplication::wheelScrollLines() * label().fontMetrics().lineSpacing() / 10;
    ASSERT_GT(notch, 0);
    wheel(label().viewPort(), -120);
    EXPECT_EQ(bar->value(), notch);
    wheel(label().viewPort(), -60); // half a notch of a fine wheel: not yet
    EXPECT_EQ(bar->value(), notch);
    wheel(label().viewPort(), -60);
    EXPECT_EQ(bar->value(), 2 * notch);
    wheel(label().viewPort(), 240);
    EXPECT_EQ(bar->value(), 0);

    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(label().viewPort(), &esc);
    EXPECT_FALSE(esc.isAccepted()) << "the dialog around the control never sees Esc";
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(label().viewPort(), &down);
    EXPECT_TRUE(down.isAccepted());
}

TEST_F(LabelTest, ScrollingRepaintsTheSurface) {
    label().setDocumentHTML(longDocument(100));
    const QImage top = label().surfaceImage().copy();
    label().scrollBar()->setValue(30);
    EXPECT_NE(label().surfaceImage(), top);
    label().scrollBar()->setValue(0);
    EXPECT_EQ(label().surfaceImage(), top);
}

TEST_F(LabelTest, ShortDocumentsAndTrailingCommentsCannotScroll) {
    label().setDocumentHTML("<html><body>short</body></html>");
    EXPECT_EQ(label().scrollBar()->maximum(), 0);
    EXPECT_FALSE(label().scrollBar()->isEnabled());
    // The comment's box is never set, so the range stays 0.
    label().setDocumentHTML(longDocument(100) + "<!-- last -->");
    EXPECT_EQ(label().scrollBar()->maximum(), 0);
}

TEST_F(LabelTest, WithoutEnableScrollTheBarIsHiddenAndKeysDoNothing) {
    label().setEnableScroll(false);
    label().setDocumentHTML(longDocument(100));
    EXPECT_FALSE(label().scrollBar()->isVisible());
    QTest::keyClick(label().viewPort(), Qt::Key_Down);
    EXPECT_EQ(label().scrollBar()->value(), 0);
}

TEST_F(LabelTest, ClickIsDeliveredAfterTheTimer) {
    label().setDocumentHTML("<html><body>go <a href=\"page1.html\">there</a> now");
    QSignalSpy clicks(&label(), &HTMLLabel::HyperlinkClick);
    release(label().viewPort(), insideAnchor(label(), "page1.html"));
    EXPECT_EQ(clicks.size(), 0); // not from inside the mouse handler
    ASSERT_TRUE(clicks.wait(1000));
    EXPECT_EQ(clicks.at(0).at(0).toString(), QStringLiteral("page1.html"));
    // Outside any link nothing happens.
    release(label().viewPort(), QPoint(300, 200));
    QTest::qWait(200);
    EXPECT_EQ(clicks.size(), 1);
}

TEST_F(LabelTest, PointerAndTooltipOverLinks) {
    label().setDocumentHTML("<html><body>go <a href=\"p.html\" title=\"Tip\">there</a> "
                            "<a href=q.html>q</a>");
    QWidget* viewport = label().viewPort();
    move(viewport, insideAnchor(label(), "p.html"));
    EXPECT_EQ(viewport->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(viewport->toolTip(), QStringLiteral("Tip"));
    move(viewport, insideAnchor(label(), "q.html"));
    EXPECT_EQ(viewport->toolTip(), QStringLiteral("q.html"));
    move(viewport, QPoint(300, 200));
    EXPECT_EQ(viewport->cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(viewport->toolTip().isEmpty());
}

TEST_F(LabelTest, NamedAnchorJumpScrollsWithoutAnEvent) {
    label().setDocumentHTML("<html><body><a href=\"#end\">to end</a><br>" +
                            longDocument(100).mid(12));
    QSignalSpy clicks(&label(), &HTMLLabel::HyperlinkClick);
    release(label().viewPort(), insideAnchor(label(), "#end"));
    QScrollBar* bar = label().scrollBar();
    int endTop = 0;
    for (const HtmlElement& e : label().document().Elements) {
        if (e.AnchorName == "end")
            endTop = e.Top;
    }
    EXPECT_EQ(bar->value(), std::min(endTop / 10, bar->maximum()));
    EXPECT_GT(bar->value(), 0);
    QTest::qWait(200);
    EXPECT_EQ(clicks.size(), 0);
}

TEST_F(LabelTest, NamedAnchorWithoutScrollingIsAnOrdinaryClick) {
    label().setEnableScroll(false);
    label().setDocumentHTML("<html><body><a href=\"#end\">to end</a><a name=end>x</a>");
    QSignalSpy clicks(&label(), &HTMLLabel::HyperlinkClick);
    release(label().viewPort(), insideAnchor(label(), "#end"));
    ASSERT_TRUE(clicks.wait(1000));
    EXPECT_EQ(clicks.at(0).at(0).toString(), QStringLiteral("#end"));
}

TEST_F(LabelTest, ScriptLinkCallsTheHostWindow) {
    label().setDocumentHTML(
        "<html><body><a href=\"VB:ShowIssue('12', 'a,b')\">show</a> <a href=vb:Ping>ping</a>");
    QSignalSpy clicks(&label(), &HTMLLabel::HyperlinkClick);
    release(label().viewPort(), insideAnchor(label(), "VB:ShowIssue('12', 'a,b')"));
    QTest::qWait(250);
    release(label().viewPort(), insideAnchor(label(), "vb:Ping"));
    QTest::qWait(250);
    EXPECT_EQ(host.calls, (QStringList{"ShowIssue(12|a,b)", "Ping()"}));
    EXPECT_EQ(clicks.size(), 0);
}

TEST_F(LabelTest, AnchorsTurnedOnLateStayDead) {
    label().setEnableAnchors(false);
    label().setDocumentHTML("<html><body><a href=\"x.html\">x</a>");
    label().setEnableAnchors(true);
    QSignalSpy clicks(&label(), &HTMLLabel::HyperlinkClick);
    release(label().viewPort(), QPoint(10, 10));
    QTest::qWait(200);
    EXPECT_EQ(clicks.size(), 0);
}

TEST_F(LabelTest, PicturesComeFromTheHost) {
    QObject::connect(&label(), &HTMLLabel::LoadImage, [](const QString& source, QImage& image) {
        if (source == QStringLiteral("red.gif")) {
            image = QImage(20, 20, QImage::Format_RGB32);
            image.fill(Qt::red);
        }
    });
    label().setDocumentHTML("<html><body><img src=red.gif hspace=0 vspace=0>");
    EXPECT_EQ(label().surfaceImage().pixel(10, 10) & 0xFFFFFF, 0xFF0000u);
}

TEST_F(LabelTest, NameOnlyAnchorShadowsALaterLinkForClicksNotForThePointer) {
    // The NAME anchor's text wraps, so its box spans the second line where
    // the link sits; the pointer looks only at links, a click at the first box.
    label().setDocumentHTML("<html><body><a name=n>aaaa bbbb cccc dddd eeee ffff gggg hhhh "
                            "iiii jjjj kkkk llll mmmm nnnn</a> <a href=x.html>link</a></body>");
    const QPoint onLink = insideAnchor(label(), "x.html");
    const HtmlElement& name = label().document().Elements[label().document().Anchors[0]];
    ASSERT_GT(name.Bottom, onLink.y()) << "the name's box must reach the link's line";
    move(label().viewPort(), onLink);
    EXPECT_EQ(label().viewPort()->cursor().shape(), Qt::PointingHandCursor);
    QSignalSpy clicks(&label(), &HTMLLabel::HyperlinkClick);
    release(label().viewPort(), onLink);
    QTest::qWait(200);
    EXPECT_EQ(clicks.size(), 0);
}

TEST_F(LabelTest, PartsFollowTheControlsSize) {
    label().setDocumentHTML(longDocument(10));
    const QRect inner = label().contentsRect();
    const int bar = label().scrollBar()->width();
    EXPECT_EQ(label().viewPort()->size(), QSize(inner.width() - bar, inner.height()));
    // As many pixels as the screen has under it (QT_SCALE_FACTOR 2 and 1.5
    // run this test too), and the layout in the window's pixels.
    const qreal ratio = label().viewPort()->devicePixelRatioF();
    EXPECT_EQ(label().surfaceImage().devicePixelRatio(), ratio);
    EXPECT_EQ(label().surfaceImage().size(), (QSizeF(label().viewPort()->size()) * ratio).toSize());
    EXPECT_LT(label().document().Elements.back().Right, label().viewPort()->width());
    label().setEnableScroll(false);
    label().Refresh();
    EXPECT_EQ(label().viewPort()->size(), inner.size());
    EXPECT_FALSE(label().scrollBar()->isVisible());
}

TEST(ScriptCall, NamesArgumentsAndQuotes) {
    ScriptCall call = ParseScriptCall(QStringLiteral("ShowIssue('12', 'a,b')"));
    EXPECT_EQ(call.name, QStringLiteral("ShowIssue"));
    EXPECT_EQ(call.arguments, (QStringList{"12", "a,b"}));
    call = ParseScriptCall(QStringLiteral("Open \"x y\", 2"));
    EXPECT_EQ(call.name, QStringLiteral("Open"));
    EXPECT_EQ(call.arguments, (QStringList{"x y", "2"}));
    call = ParseScriptCall(QStringLiteral("Ping"));
    EXPECT_EQ(call.name, QStringLiteral("Ping"));
    EXPECT_TRUE(call.arguments.isEmpty());
    call = ParseScriptCall(QStringLiteral("F(, ,'')"));
    EXPECT_TRUE(call.arguments.isEmpty());
    EXPECT_TRUE(IsScriptHref(QStringLiteral("vB:x")));
    EXPECT_FALSE(IsScriptHref(QStringLiteral("VBx")));
}

TEST(ScriptCall, MoreThanEightArgumentsCallWithoutAny) {
    HostWindow host;
    EXPECT_TRUE(
        InvokeScriptCall(&host, ParseScriptCall(QStringLiteral("Ping(1,2,3,4,5,6,7,8,9)"))));
    EXPECT_EQ(host.calls, (QStringList{"Ping()"}));
    // Unknown methods and wrong argument counts fail quietly.
    EXPECT_FALSE(InvokeScriptCall(&host, ParseScriptCall(QStringLiteral("Nothing(1)"))));
    EXPECT_FALSE(InvokeScriptCall(&host, ParseScriptCall(QStringLiteral("ShowIssue(1)"))));
}

} // namespace
} // namespace htmlview

#include "label_test.moc"
