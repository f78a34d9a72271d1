#include "htmlview/html_label.h"

#include "htmlview/html_viewport.h"
#include "htmlview/numeric.h"
#include "htmlview/qt_surface.h"

#include <QApplication>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>

namespace htmlview {

namespace {

// The control is not sized while it is this short (24 pixels).
constexpr int kMinimumSizedHeight = 24;

} // namespace

HTMLLabel::HTMLLabel(QWidget* parent) : QFrame(parent) {
    picViewPort_ = new HtmlViewport(picHTML_, this);
    vscScroll_ = new QScrollBar(Qt::Vertical, this);
    vscScroll_->setSingleStep(1);
    vscScroll_->hide();
    tmrHyperlinkClick_.setInterval(100);
    tmrHyperlinkClick_.setSingleShot(true);
    connect(&tmrHyperlinkClick_, &QTimer::timeout, this, &HTMLLabel::onHyperlinkTimer);
    connect(vscScroll_, &QScrollBar::valueChanged, this, &HTMLLabel::onScroll);
    picViewPort_->onMouseMove = [this](QMouseEvent* e) { onMouseMove(e); };
    picViewPort_->onMouseRelease = [this](QMouseEvent* e) { onMouseRelease(e); };
    picViewPort_->onKeyPress = [this](QKeyEvent* e) { return onKeyPress(e); };
    picViewPort_->onWheel = [this](QWheelEvent* e) { onWheel(e); };
    renderer_.setImageLoader([this](const ByteText& source) {
        QImage picture;
        Q_EMIT LoadImage(cp1251::toUnicode(source), picture);
        return picture;
    });
    updateFrame();
    applyBackColor(doc_.BackColor);
    sizeParts();
}

HTMLLabel::~HTMLLabel() = default;

QWidget* HTMLLabel::viewPort() const {
    return picViewPort_;
}

void HTMLLabel::applyBackColor(HtmlColor color) {
    doc_.BackColor = color;
    QPalette p = palette();
    p.setColor(QPalette::Window, ToQColor(color));
    setPalette(p);
    setAutoFillBackground(true);
    // A new background erases what the surface showed.
    if (!picHTML_.isNull())
        picHTML_.fill(ToQColor(color));
    picViewPort_->update();
}

void HTMLLabel::setBackColor(HtmlColor lngNewVal) {
    if (lngNewVal != doc_.BackColor)
        applyBackColor(lngNewVal);
}

void HTMLLabel::updateFrame() {
    if (borderStyle_ == 0)
        setFrameStyle(QFrame::NoFrame);
    else if (appearance_ == 1)
        setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    else
        setFrameStyle(QFrame::Box | QFrame::Plain);
    sizeParts();
}

void HTMLLabel::setAppearance(int lngNewVal) {
    appearance_ = lngNewVal;
    updateFrame();
}

void HTMLLabel::setBorderStyle(int lngNewVal) {
    borderStyle_ = lngNewVal;
    updateFrame();
}

void HTMLLabel::setDocumentHTML(const ByteText& strNewVal) {
    picViewPort_->setCursor(Qt::WaitCursor);
    QCoreApplication::processEvents();
    const HtmlColor backBefore = doc_.BackColor;
    doc_.SetDocument(strNewVal);
    renderer_.invalidate();
    if (doc_.BackColor != backBefore) {
        // A BODY "BGCOLOR" sets the control's background for good.
        const HtmlColor fromBody = doc_.BackColor;
        doc_.BackColor = backBefore;
        applyBackColor(fromBody);
    }
    if (window()->isVisible())
        Refresh(false);
    picViewPort_->unsetCursor();
    QCoreApplication::processEvents();
}

void HTMLLabel::renderSurface(bool doLayout) {
    if (picHTML_.isNull())
        return;
    QtImageSurface surface(picHTML_);
    renderer_.Render(surface, doLayout, vscScroll_->value());
}

void HTMLLabel::Refresh(bool PaintOnly) {
    picViewPort_->setCursor(Qt::WaitCursor);
    sizeParts();
    if (!doc_.Elements.isEmpty())
        renderSurface(!PaintOnly);
    if (doc_.EnableScroll) {
        const int inner = picViewPort_->height();
        const int maximum =
            doc_.Elements.isEmpty()
                ? 0
                : NearestEven(double(doc_.Elements.back().Bottom) + 20 - inner) / kScrollStep;
        const int large = NearestEven(inner) / kScrollStep;
        vscScroll_->setPageStep(large > 0 ? large : 1);
        const QSignalBlocker quiet(vscScroll_);
        if (maximum < 1) {
            vscScroll_->setRange(0, 0);
            vscScroll_->setEnabled(false);
        } else {
            vscScroll_->setRange(0, maximum);
            vscScroll_->setEnabled(true);
        }
        const bool moved = vscScroll_->value() != 0;
        vscScroll_->setValue(0);
        vscScroll_->show();
        if (moved && !doc_.Elements.isEmpty())
            renderSurface(false);
    } else {
        vscScroll_->hide();
    }
    picViewPort_->update();
    picViewPort_->unsetCursor();
}

void HTMLLabel::sizeParts() {
    const QWidget* host = window();
    if ((host && host->isMinimized()) || height() <= kMinimumSizedHeight)
        return;
    const QRect inner = contentsRect();
    QSize surfaceSize = inner.size();
    if (doc_.EnableScroll) {
        const int barWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
        vscScroll_->setGeometry(inner.right() + 1 - barWidth, inner.top(), barWidth,
                                inner.height());
        surfaceSize.setWidth(std::max(1, inner.width() - barWidth));
        vscScroll_->setValue(0);
    }
    picViewPort_->setGeometry(QRect(inner.topLeft(), surfaceSize));
    // The surface has the screen's pixels, so text and pictures are drawn
    // as sharp as the labels beside them on a high-density screen.
    const qreal ratio = picViewPort_->devicePixelRatioF();
    if (picHTML_.deviceIndependentSize().toSize() != surfaceSize ||
        picHTML_.devicePixelRatio() != ratio) {
        picHTML_ = QImage((QSizeF(surfaceSize) * ratio).toSize(), QImage::Format_RGB32);
        picHTML_.setDevicePixelRatio(ratio);
        picHTML_.fill(ToQColor(doc_.BackColor));
    }
}

void HTMLLabel::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    const QSize before = picHTML_.size();
    sizeParts();
    // The surface was made anew: paint it again from the stored layout.
    if (picHTML_.size() != before && renderer_.hasLayout() && !doc_.Elements.isEmpty()) {
        renderSurface(false);
        picViewPort_->update();
    }
}

void HTMLLabel::onScroll(int) {
    if (doc_.Elements.isEmpty())
        return;
    renderSurface(false);
    picViewPort_->update();
}

void HTMLLabel::WriteProperties(QVariantMap& bag) const {
    bag.insert(QStringLiteral("Appearance"), appearance_);
    bag.insert(QStringLiteral("BorderStyle"), borderStyle_);
    bag.insert(QStringLiteral("BackColor"), doc_.BackColor);
    bag.insert(QStringLiteral("EnableAnchors"), doc_.EnableAnchors);
    bag.insert(QStringLiteral("EnableScroll"), doc_.EnableScroll);
    bag.insert(QStringLiteral("EnableTooltips"), enableTooltips_);
    bag.insert(QStringLiteral("DefaultFontName"), doc_.DefaultFontName);
    bag.insert(QStringLiteral("DefaultFontSize"), doc_.DefaultFontSize);
}

void HTMLLabel::ReadProperties(const QVariantMap& bag) {
    appearance_ = bag.value(QStringLiteral("Appearance"), 1).toInt();
    borderStyle_ = bag.value(QStringLiteral("BorderStyle"), 1).toInt();
    doc_.EnableAnchors = bag.value(QStringLiteral("EnableAnchors"), false).toBool();
    doc_.EnableScroll = bag.value(QStringLiteral("EnableScroll"), false).toBool();
    enableTooltips_ = bag.value(QStringLiteral("EnableTooltips"), true).toBool();
    doc_.DefaultFontName =
        bag.value(QStringLiteral("DefaultFontName"), QStringLiteral("MS Sans Serif")).toString();
    doc_.DefaultFontSize = bag.value(QStringLiteral("DefaultFontSize"), 10.0f).toFloat();
    applyBackColor(bag.value(QStringLiteral("BackColor"), kButtonFace).toUInt());
    updateFrame();
}

} // namespace htmlview

#include "moc_html_label.cpp"
