// The control's face follows the control: link style for a socket error, a
// click that reaches the error window, the activity frames.
#include "net/download_control.h"
#include "net/download_control_view.h"
#include "tests/support/temp_program_folder.h"

#include <QHostAddress>
#include <QLabel>
#include <QTcpServer>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QLabel* StatusLabel(DownloadControlView& view, Download_Control& dc) {
    for (QLabel* label : view.findChildren<QLabel*>()) {
        if (label->text() == dc.StatusText())
            return label;
    }
    return nullptr;
}

} // namespace

TEST(ControlView, SocketErrorIsDrawnAsALinkAndItsClickOpensTheWindow) {
    TempProgramFolder home;
    home.write("data/wserror.dat", "<html></html>");
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost, 0);
    const quint16 port = closed.serverPort();
    closed.close();

    Download_Control dc;
    DownloadControlView view(&dc);
    QString opened;
    dc.setErrorWindowOpener([&opened](const QString& path) { opened = path; });
    dc.RHost("127.0.0.1:" + ByteText::number(port));
    ASSERT_EQ(dc.Down("/", false), "error");

    QLabel* st = StatusLabel(view, dc);
    ASSERT_NE(st, nullptr);
    EXPECT_TRUE(st->font().underline());
    EXPECT_EQ(st->palette().color(QPalette::WindowText), QColor(0, 0, 192));
    EXPECT_EQ(st->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(st, Qt::LeftButton);
    EXPECT_EQ(opened, home.file("data/wserror.dat"));

    // A normal status is plain text again.
    dc.Stopped();
    EXPECT_EQ(st->text(), "Загрузка прервана");
    EXPECT_FALSE(st->font().underline());
    EXPECT_NE(st->cursor().shape(), Qt::PointingHandCursor);
}

TEST(ControlView, SixDistinctFrames) {
    const auto frames = DownloadControlView::MakeFrames(24);
    for (size_t i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(frames[i].size(), QSize(24, 24));
        for (size_t j = i + 1; j < frames.size(); ++j)
            EXPECT_NE(frames[i].toImage(), frames[j].toImage()) << i << " " << j;
    }
}
