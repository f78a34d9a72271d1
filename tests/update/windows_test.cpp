// The update window and the socket-error window as the user meets them, on
// the offscreen platform: labels, the what's-new preview, the copied link
// and its timer, the decisions; the error list opened from the download
// control's error link.
#include "app/ws_error_doc.h"
#include "htmlview/document.h"
#include "htmlview/html_label.h"
#include "htmlview/qt_surface.h"
#include "htmlview/render.h"
#include "htmlview/text_runs.h"
#include "net/download_control.h"
#include "net/download_control_view.h"
#include "tests/support/closed_port.h"
#include "tests/support/temp_program_folder.h"
#include "ui/labels.h"
#include "ui/text_colours.h"
#include "update/upgrade.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

UpdateInfo NewerVersion() {
    UpdateInfo info;
    info.Version = "2.2.0";
    info.FileSize = "70000";
    info.Host = "update.example:8080";
    info.FileName = "norvel2-2.2.0-update.sh";
    // Well-formed; whether it verifies is known only once the release is here.
    info.Signature = ByteText(64, 'Z').toBase64();
    info.WhatsNew = W("Версия 2.2.0:\r\n- быстрее;\r\n- надёжнее.");
    return info;
}

bool Underlined(QLabel* label) {
    return label->font().underline();
}

// Calls act with the first window of that type to be shown, from a timer
// that keeps looking without blocking, so it works inside a modal loop.
template <typename Window> void WhenShown(QObject* owner, std::function<void(Window&)> act) {
    auto* poll = new QTimer(owner);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* window = qobject_cast<Window*>(w);
            if (window && window->isVisible()) {
                poll->stop();
                poll->deleteLater();
                act(*window);
                return;
            }
        }
    });
    poll->start(10);
}

// Runs the window modally and acts on it once it is shown.
UpdateDecision RunWith(Upgrade& window, const std::function<void()>& act) {
    WhenShown<Upgrade>(&window, [act](Upgrade&) { act(); });
    return window.Run();
}

} // namespace

TEST(UpgradeWindow, ShowsTheVersionSizeAndNoticeWithThePreviewHidden) {
    QWidget main;
    main.setWindowIcon(QIcon(QPixmap(16, 16)));
    Upgrade window(NewerVersion(), &main);
    EXPECT_EQ(window.windowTitle(), "Обновление");
    EXPECT_FALSE(window.windowIcon().isNull());
    EXPECT_EQ(window.Label1->text(), "Версия: 2.2.0 (ваша версия - 2.1.7)");
    EXPECT_EQ(window.Label2->text(), "Размер файла: 68 кб");
    EXPECT_TRUE(window.Label3->text().startsWith("Внимание!\r\n"));
    EXPECT_EQ(window.Label4->text(), "Прямая ссылка (копировать)");
    EXPECT_TRUE(Underlined(window.Label4));
    EXPECT_EQ(window.Label4->palette().color(QPalette::WindowText), LinkColour(window.palette()));
    EXPECT_EQ(window.Command1->text(), "Обновить");
    EXPECT_EQ(window.Command2->text(), "Отмена");

    window.show();
    EXPECT_FALSE(window.HTML->isVisible());
    EXPECT_EQ(window.Command3->text(), "Что нового?");
    window.Command3->click();
    EXPECT_TRUE(window.HTML->isVisible());
    EXPECT_EQ(window.Command3->text(), "Назад");
    // Three lines of news, shown as three lines.
    EXPECT_EQ(window.HTML->DocumentHTML().count("<br>"), 2);
    window.Command3->click();
    EXPECT_FALSE(window.HTML->isVisible());
    EXPECT_EQ(window.Command3->text(), "Что нового?");
}

TEST(UpgradeWindow, TheLinkIsCopiedAndComesBackWhenItsTimerTicks) {
    Upgrade window(NewerVersion());
    EXPECT_EQ(window.Timer1.interval(), 3000);
    window.Timer1.setInterval(80);
    window.show();
    QApplication::clipboard()->setText("something else");
    QTest::mouseClick(window.Label4, Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->text(),
              "http://update.example:8080/norvel2-2.2.0-update.sh");
    EXPECT_EQ(window.Label4->text(), QString::fromUtf8("C") + "копирована в буфер обмена");
    EXPECT_FALSE(Underlined(window.Label4));
    EXPECT_EQ(window.Label4->palette().color(QPalette::WindowText),
              window.palette().color(QPalette::WindowText));
    EXPECT_TRUE(window.Timer1.isActive());
    QTest::qWait(20);
    EXPECT_EQ(window.Label4->text(), Upgrade::CopiedCaption());
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return window.Label4->text() == Upgrade::LinkCaption(); }, 2000));
    EXPECT_TRUE(Underlined(window.Label4));
    EXPECT_EQ(window.Label4->palette().color(QPalette::WindowText), LinkColour(window.palette()));
    EXPECT_FALSE(window.Timer1.isActive());
}

TEST(UpgradeWindow, EachWayOutGivesItsDecision) {
    {
        Upgrade window(NewerVersion());
        EXPECT_EQ(RunWith(window, [&] { window.Command1->click(); }), UpdateDecision::Update);
    }
    {
        Upgrade window(NewerVersion());
        EXPECT_EQ(RunWith(window, [&] { window.Command2->click(); }), UpdateDecision::Cancel);
    }
    {
        // Closed by the title bar or Escape: the download goes on.
        Upgrade window(NewerVersion());
        EXPECT_EQ(RunWith(window, [&] { window.close(); }), UpdateDecision::Cancel);
        Upgrade other(NewerVersion());
        EXPECT_EQ(RunWith(other, [&] { QTest::keyClick(&other, Qt::Key_Escape); }),
                  UpdateDecision::Cancel);
    }
}

// Enter never installs: the window opens with the focus on «Отмена», and a
// focused «Обновить» or «Что нового?» hands Enter on to it.
TEST(UpgradeWindow, EnterNeverStartsTheUpdate) {
    for (QPushButton* Upgrade::*focused :
         {&Upgrade::Command2, &Upgrade::Command1, &Upgrade::Command3}) {
        Upgrade window(NewerVersion());
        QWidget* focusAtStart = nullptr;
        bool closedByEnter = false;
        const UpdateDecision decision = RunWith(window, [&] {
            focusAtStart = window.focusWidget();
            (window.*focused)->setFocus();
            QTest::keyClick(window.*focused, Qt::Key_Return);
            closedByEnter = !window.isVisible();
            if (!closedByEnter)
                window.reject();
        });
        EXPECT_EQ(decision, UpdateDecision::Cancel);
        EXPECT_TRUE(closedByEnter) << "Enter is «Отмена»";
        EXPECT_EQ(focusAtStart, window.Command2);
    }
}

// The what's-new text is drawn: laid out through the preview control, its
// lines are there to read.
TEST(UpgradeWindow, WhatsNewIsDrawnLineByLine) {
    htmlview::HtmlDocument doc;
    doc.SetDocument(WhatsNewDocument(NewerVersion().WhatsNew));
    htmlview::HtmlRenderer renderer(doc);
    QImage strip(420, 1, QImage::Format_RGB32);
    htmlview::QtImageSurface surface(strip);
    renderer.Render(surface, true);
    QList<int> rows;
    QByteArray drawn;
    for (const htmlview::TextRun& run : htmlview::TextRuns(renderer.displayList(), surface)) {
        drawn += run.text + " ";
        if (!rows.contains(run.y))
            rows.append(run.y);
    }
    EXPECT_TRUE(drawn.contains(W("быстрее"))) << drawn.constData();
    EXPECT_TRUE(drawn.contains(W("надёжнее")));
    EXPECT_EQ(rows.size(), 3) << "three lines of news, three rows";
}

// Without a signature in version.info there is nothing to install: the
// window says where the release is to be had and keeps only its link.
TEST(UpgradeWindow, AnUnsignedReleaseCannotBeInstalledButItsLinkStays) {
    UpdateInfo info = NewerVersion();
    info.Signature = "not a signature";
    Upgrade window(info);
    EXPECT_EQ(window.Label3->text(),
              "Обновление не подписано издателем. Скачайте его со страницы программы.");
    EXPECT_FALSE(window.Command1->isEnabled());
    EXPECT_EQ(RunWith(window,
                      [&] {
                          QTest::mouseClick(window.Command1, Qt::LeftButton);
                          QTest::keyClick(&window, Qt::Key_Return);
                      }),
              UpdateDecision::Cancel);
    window.show();
    QTest::mouseClick(window.Label4, Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->text(),
              "http://update.example:8080/norvel2-2.2.0-update.sh");
}

TEST(SocketErrorWindow, ShowsTheShippedListOfCodes) {
    TempProgramFolder home;
    WSErrorDoc window(home.file("data/wserror.dat"));
    window.show();
    EXPECT_EQ(window.windowTitle(), "Коды ошибок WinSock");
    EXPECT_EQ(window.HTML->DocumentTitle(), "Коды ошибок WinSock");
    EXPECT_TRUE(window.HTML->DocumentHTML().contains(W("В подключении отказано")));
    EXPECT_TRUE(window.HTML->scrollBar()->isEnabled()) << "the list is longer than the window";
    // Something was painted: the surface is not one colour.
    const QImage surface = window.HTML->surfaceImage();
    ASSERT_FALSE(surface.isNull());
    EXPECT_NE(surface.pixel(10, 10), surface.pixel(surface.width() / 2, 60));
}

TEST(SocketErrorWindow, OpensFromTheErrorLinkOfARefusedConnectionAndClosesOnEsc) {
    TempProgramFolder home;
    const quint16 port = ClosedLocalPort();

    Download_Control dc;
    DownloadControlView view(&dc);
    view.show();
    QString title;
    ByteText document;
    // The real window, closed from inside its modal loop once it is open.
    dc.setErrorWindowOpener([&](const QString& path) {
        WhenShown<WSErrorDoc>(&view, [&](WSErrorDoc& open) {
            title = open.windowTitle();
            document = open.HTML->DocumentHTML();
            QTest::keyClick(open.HTML->viewPort(), Qt::Key_Escape);
            if (open.isVisible()) {
                ADD_FAILURE() << "Esc left the window open";
                open.close();
            }
        });
        ShowSocketErrorCodes(path, view.window());
    });
    dc.RHost("127.0.0.1:" + ByteText::number(port));
    ASSERT_EQ(dc.Down("/", false), "error");
    EXPECT_EQ(dc.StatusText(), "Ошибка 10061 (В подключении отказано)");

    // The view shows the status within a frame.
    ElidedLabel* link = view.findChild<ElidedLabel*>();
    ASSERT_NE(link, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return link->fullText() == dc.StatusText(); }));
    QTest::mouseClick(link, Qt::LeftButton);
    EXPECT_EQ(title, "Коды ошибок WinSock");
    EXPECT_TRUE(document.contains("10061"));
}
