#pragma once
// HTMLLabel: the HTML preview control. A host places it like a label, sets
// DocumentHTML and gets link clicks through HyperlinkClick, jumps to named
// anchors, or calls of its own methods from "VB:" links.

#include "htmlview/document.h"
#include "htmlview/render.h"

#include <QFrame>
#include <QTimer>
#include <QVariantMap>

class QScrollBar;

namespace htmlview {

class HtmlViewport;

class HTMLLabel : public QFrame {
    Q_OBJECT
public:
    explicit HTMLLabel(QWidget* parent = nullptr);
    ~HTMLLabel() override;

    // Properties.
    QString Version() const { return QStringLiteral("0.2.0"); }
    QString DefaultFontName() const { return doc_.DefaultFontName; }
    void setDefaultFontName(const QString& strNewVal) { doc_.DefaultFontName = strNewVal; }
    float DefaultFontSize() const { return doc_.DefaultFontSize; }
    void setDefaultFontSize(float sglNewVal) { doc_.DefaultFontSize = sglNewVal; }
    HtmlColor BackColor() const { return doc_.BackColor; }
    void setBackColor(HtmlColor lngNewVal);
    int Appearance() const { return appearance_; }
    void setAppearance(int lngNewVal);
    int BorderStyle() const { return borderStyle_; }
    void setBorderStyle(int lngNewVal);
    bool EnableTooltips() const { return enableTooltips_; }
    void setEnableTooltips(bool blnNewVal) { enableTooltips_ = blnNewVal; }
    // The normalised text of the document, not the text that was set.
    ByteText DocumentHTML() const { return doc_.Normalized; }
    void setDocumentHTML(const ByteText& strNewVal);
    bool EnableScroll() const { return doc_.EnableScroll; }
    void setEnableScroll(bool blnNewVal) { doc_.EnableScroll = blnNewVal; }
    bool EnableAnchors() const { return doc_.EnableAnchors; }
    void setEnableAnchors(bool blnNewVal) { doc_.EnableAnchors = blnNewVal; }
    QString DocumentTitle() const { return cp1251::toUnicode(doc_.DocumentTitle()); }

    // Lays the document out again (or only repaints it) and resets the
    // scroll bar to the top.
    void Refresh(bool PaintOnly = false);

    // The host's saved form: "Appearance", "BorderStyle", "BackColor",
    // "EnableAnchors", "EnableScroll", "EnableTooltips", "DefaultFontName",
    // "DefaultFontSize". Reading fills missing entries with the defaults of
    // a saved form.
    void WriteProperties(QVariantMap& bag) const;
    void ReadProperties(const QVariantMap& bag);

    // For hosts and tests.
    const HtmlDocument& document() const { return doc_; }
    QScrollBar* scrollBar() const { return vscScroll_; }
    QWidget* viewPort() const;
    const QImage& surfaceImage() const { return picHTML_; }

Q_SIGNALS:
    // A link was clicked (delivered 100 ms after the mouse button was released).
    void HyperlinkClick(const QString& Href);
    // The picture of an IMG or of the BODY background is wanted; leaving
    // Image null means there is none.
    void LoadImage(const QString& Source, QImage& Image);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void sizeParts();
    void renderSurface(bool doLayout);
    void applyBackColor(HtmlColor color);
    void updateFrame();
    void onScroll(int value);
    void onMouseMove(QMouseEvent* event);
    void onMouseRelease(QMouseEvent* event);
    bool onKeyPress(QKeyEvent* event); // false: not a key of the control
    // Scrolls by the desktop's wheel step: its lines a notch, each the
    // height of a line of the control's font.
    void onWheel(QWheelEvent* event);
    void onHyperlinkTimer();
    int anchorAt(const QPoint& point, bool boundsIncluded) const;
    void jumpToAnchor(const ByteText& name);

    HtmlDocument doc_;
    HtmlRenderer renderer_{doc_};
    QImage picHTML_;
    HtmlViewport* picViewPort_ = nullptr;
    QScrollBar* vscScroll_ = nullptr;
    QTimer tmrHyperlinkClick_;
    ByteText PendingHref;
    int wheelRest_ = 0; // eighths of a degree not yet scrolled (fine wheels)
    int appearance_ = 1;
    int borderStyle_ = 1;
    bool enableTooltips_ = false;
};

} // namespace htmlview
