// The control's face follows the control: link style for a socket error, a
// click that reaches the error window, the activity frames, and at most one
// repaint a frame however fast the status changes.
#include "net/download_control.h"
#include "net/download_control_view.h"
#include "tests/net/canned_server.h"
#include "tests/support/closed_port.h"
#include "tests/support/paint_counter.h"
#include "tests/support/temp_program_folder.h"
#include "ui/labels.h"
#include "ui/repaint_pacer.h"
#include "ui/text_colours.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// The label showing the control's status, once the face has caught up.
ElidedLabel* StatusLabel(DownloadControlView& view, Download_Control& dc) {
    ElidedLabel* label = view.findChild<ElidedLabel*>();
    if (label && QTest::qWaitFor([&] { return label->fullText() == dc.StatusText(); }, 1000))
        return label;
    return nullptr;
}

} // namespace

TEST(ControlView, SocketErrorIsDrawnAsALinkAndItsClickOpensTheWindow) {
    TempProgramFolder home;
    home.write("data/wserror.dat", "<html></html>");
    const quint16 port = ClosedLocalPort();

    Download_Control dc;
    DownloadControlView view(&dc);
    QString opened;
    dc.setErrorWindowOpener([&opened](const QString& path) { opened = path; });
    dc.RHost("127.0.0.1:" + ByteText::number(port));
    ASSERT_EQ(dc.Down("/", false), "error");

    ElidedLabel* st = StatusLabel(view, dc);
    ASSERT_NE(st, nullptr);
    EXPECT_TRUE(st->font().underline());
    EXPECT_EQ(st->palette().color(QPalette::WindowText), LinkColour(view.palette()));
    EXPECT_EQ(st->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(st, Qt::LeftButton);
    EXPECT_EQ(opened, home.file("data/wserror.dat"));

    // A normal status is plain text again.
    dc.Stopped();
    EXPECT_EQ(StatusLabel(view, dc), st);
    EXPECT_EQ(st->fullText(), "Загрузка прервана");
    EXPECT_FALSE(st->font().underline());
    EXPECT_NE(st->cursor().shape(), Qt::PointingHandCursor);
}

// A status too long for the panel ends in "…" and is whole in the tooltip;
// a short one is shown as it is, without a tooltip; the window keeps its
// width either way.
TEST(ControlView, LongStatusIsElidedWithTheWholeTextAsTooltip) {
    TempProgramFolder home;
    home.write("data/wserror.dat", "<html></html>");
    Download_Control dc;
    DownloadControlView view(&dc);
    view.resize(260, view.sizeHint().height());
    view.show();
    const int width = view.width();
    dc.RHost("127.0.0.1:" + ByteText::number(ClosedLocalPort()));
    ASSERT_EQ(dc.Down("/", false), "error"); // a status long enough, drawn as a link
    ElidedLabel* st = StatusLabel(view, dc);
    ASSERT_NE(st, nullptr);
    EXPECT_TRUE(st->text().endsWith(QChar(0x2026))) << st->text().toStdString();
    EXPECT_TRUE(dc.StatusText().startsWith(st->text().chopped(1)));
    EXPECT_EQ(st->toolTip(), dc.StatusText());
    EXPECT_EQ(view.width(), width);

    view.resize(900, view.height());
    QApplication::processEvents();
    EXPECT_EQ(st->text(), dc.StatusText());
    EXPECT_TRUE(st->toolTip().isEmpty());
}

TEST(ControlView, SixDistinctFrames) {
    const auto frames = DownloadControlView::MakeFrames(24);
    for (size_t i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(frames[i].size(), QSize(24, 24));
        for (size_t j = i + 1; j < frames.size(); ++j)
            EXPECT_NE(frames[i].toImage(), frames[j].toImage()) << i << " " << j;
    }
}

TEST(ControlView, StatusesOfManyFetchesShareOneRepaintAFrame) {
    CannedServer server;
    server.reply = "HTTP/1.0 200 OK\r\n\r\n" + QByteArray(4000, 'x');
    server.chunkSize = 500;
    Download_Control dc;
    DownloadControlView view(&dc);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    ElidedLabel* st = StatusLabel(view, dc);
    ASSERT_NE(st, nullptr);
    PaintCounter counter(st);
    int statuses = 0;
    QObject::connect(&dc, &Download_Control::statusChanged, [&statuses] { ++statuses; });

    dc.RHost(server.host());
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 40; ++i)
        ASSERT_NE(dc.Down("/" + QByteArray::number(i), false), "error");
    const qint64 frames = clock.elapsed() / RepaintPacer::FrameMs + 1;
    ASSERT_GT(statuses, 40 * 4) << "each fetch says several things";
    EXPECT_LE(counter.paints(), frames) << statuses << " statuses in " << clock.elapsed() << " ms";
    // The last status is on the label within a frame.
    EXPECT_TRUE(QTest::qWaitFor([&] { return st->fullText() == "Загрузка завершена"; }, 1000));
}
