#include "net/download_control_view.h"

#include "net/download_control.h"
#include "ui/labels.h"
#include "ui/repaint_pacer.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <cmath>

namespace {
constexpr int FrameSize = 24;
} // namespace

DownloadControlView::DownloadControlView(Download_Control* control, QWidget* parent)
    : QFrame(parent), control_(control), P(MakeFrames(FrameSize, qApp->devicePixelRatio())),
      pacer_(new RepaintPacer([this] { refresh(); }, this)) {
    setFrameShape(QFrame::StyledPanel);
    Label1 = new QLabel(QStringLiteral("Обмен данными:"), this);
    St = new ElidedLabel(control->StatusText(), this);
    St->setMinimumWidth(160);
    ShowAsLink(St, false, QPalette::ButtonText);
    St->installEventFilter(this);
    I1 = new QLabel(this);
    I1->setFixedSize(FrameSize, FrameSize);
    I1->setPixmap(P[0]);

    auto* texts = new QVBoxLayout;
    texts->addWidget(Label1);
    texts->addWidget(St);
    auto* row = new QHBoxLayout(this);
    row->addLayout(texts, 1);
    row->addWidget(I1);

    connect(control, &Download_Control::statusChanged, pacer_, &RepaintPacer::request);
    connect(control, &Download_Control::frameChanged, pacer_, &RepaintPacer::request);
}

std::array<QPixmap, 6> DownloadControlView::MakeFrames(int size, qreal ratio) {
    // Six dots on a ring; the bright one walks round frame by frame.
    std::array<QPixmap, 6> frames;
    for (int f = 0; f < 6; ++f) {
        QPixmap pixmap((QSizeF(size, size) * ratio).toSize());
        pixmap.setDevicePixelRatio(ratio);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        const double centre = size / 2.0, ring = size * 0.34, dot = size * 0.11;
        for (int i = 0; i < 6; ++i) {
            const double angle = i * M_PI / 3 - M_PI / 2;
            painter.setBrush(i == f ? QColor(0, 96, 0) : QColor(176, 196, 176));
            painter.drawEllipse(
                QPointF(centre + ring * std::cos(angle), centre + ring * std::sin(angle)), dot,
                dot);
        }
        frames[f] = pixmap;
    }
    return frames;
}

// Only what differs from the face shown is set: a new palette or font
// would lay the panel out again.
void DownloadControlView::refresh() {
    St->setFullText(control_->StatusText());
    if (control_->StatusIsLink() != shownAsLink_) {
        shownAsLink_ = control_->StatusIsLink();
        ShowAsLink(St, shownAsLink_, QPalette::ButtonText);
    }
    const int frame = control_->Frame();
    if (frame != shownFrame_ && frame >= 0 && frame < int(P.size())) {
        shownFrame_ = frame;
        I1->setPixmap(P[frame]);
    }
}

bool DownloadControlView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == St && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        control_->StatusClicked();
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

#include "moc_download_control_view.cpp"
