// The main window mirrors its rules: real widgets on the offscreen platform,
// clicked with QTest.
#include "app/main_controller.h"
#include "app/main_window.h"
#include "app/single_instance.h"
#include "settings/utf8_text.h"
#include "tests/support/paint_counter.h"
#include "tests/support/scripted_messenger.h"
#include "tests/support/temp_program_folder.h"
#include "ui/message_box.h"
#include "ui/repaint_pacer.h"
#include "ui/window_place.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class MainWindow : public ::testing::Test {
protected:
    TempProgramFolder folder;
    ScriptedMessenger messenger;
    AppState app;
    std::unique_ptr<MainController> controller;
    std::unique_ptr<Main> window;
    int started = 0, cleared = 0;

    void SetUp() override {
        app.ProgramFolder = folder.path();
        controller = std::make_unique<MainController>(app, messenger);
        controller->hooks.startDownload = [this] { ++started; };
        controller->hooks.clearCashe = [this] { ++cleared; };
        controller->hooks.endProgram = [](int) {};
        window = std::make_unique<Main>(*controller);
        controller->Load("");
        window->show();
    }

    // The status line, counters and title follow the rules a frame later.
    bool statShows(const QString& text) {
        return QTest::qWaitFor([&] { return window->Stat->text() == text; }, 1000);
    }
};

TEST_F(MainWindow, StartsIdleWithTheNewspaperChosen) {
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->windowTitle() == U("Норвел (v 2.1.7)"); }));
    EXPECT_TRUE(window->Option1->isChecked());
    EXPECT_FALSE(window->KPlogoPicture().isNull());
    EXPECT_FALSE(window->KTlogoPicture().isNull());
    EXPECT_EQ(window->LOGO->pixmap().toImage(), window->KPlogoPicture().toImage());
    EXPECT_EQ(window->Command1->text(), U("Загрузить"));
    EXPECT_EQ(window->Command2->text(), U("Настройки"));
    EXPECT_EQ(window->Command3->text(), U("Архив"));
    EXPECT_EQ(window->Command4->text(), U("О программе"));
    EXPECT_EQ(window->Command5->text(), U("Выход"));
    EXPECT_EQ(window->Stat->text(), "Ready");
    EXPECT_FALSE(window->Frame2->isVisible());
    EXPECT_EQ(window->Label1->text(), U("Время: 0:00:00"));
    EXPECT_EQ(window->Label2->text(), U("Трафик: 0 Кб"));
}

TEST_F(MainWindow, ClicksReachTheRulesAndTheWidgetsFollow) {
    QTest::mouseClick(window->Option2, Qt::LeftButton);
    EXPECT_EQ(app.state.CurrentSource, 2);
    EXPECT_EQ(window->LOGO->pixmap().toImage(), window->KTlogoPicture().toImage());

    QTest::mouseClick(window->Command1, Qt::LeftButton);
    EXPECT_EQ(started, 1);
    EXPECT_EQ(window->Command1->text(), U("Стоп"));
    EXPECT_FALSE(window->Command2->isEnabled());
    EXPECT_FALSE(window->Command3->isEnabled());
    EXPECT_TRUE(window->Command4->isEnabled());
    EXPECT_FALSE(window->Option1->isEnabled());
    EXPECT_TRUE(window->Frame2->isVisible());

    messenger.answer(MessageAnswer::Yes);
    QTest::mouseClick(window->Command1, Qt::LeftButton);
    EXPECT_EQ(window->Command1->text(), U("Загрузить"));
    EXPECT_TRUE(window->Command2->isEnabled());
    EXPECT_TRUE(statShows(U("Загрузка прервана пользователем")));
    EXPECT_TRUE(window->Frame2->isVisible());
}

TEST_F(MainWindow, StatusCountersAndProgressShareOneRepaintAFrame) {
    QTest::mouseClick(window->Command1, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->Progress->isVisible(); }));
    PaintCounter stat(window->Stat), traffic(window->Label2), progress(window->Progress);
    QElapsedTimer clock;
    clock.start();
    const int pages = 400;
    for (int n = 1; n <= pages; ++n) {
        controller->SetStat(U("Загрузка страницы ") + QString::number(n));
        controller->SetTrafficText(U("Трафик: ") + QString::number(n) + U(" Кб"));
        controller->PageDone(n, pages, 0);
        QCoreApplication::processEvents();
    }
    const qint64 frames = clock.elapsed() / RepaintPacer::FrameMs + 1;
    EXPECT_LE(stat.paints(), frames);
    EXPECT_LE(traffic.paints(), frames);
    EXPECT_LE(progress.paints(), frames);
    // The last of each shows within a frame.
    EXPECT_TRUE(statShows(U("Загрузка страницы 400")));
    EXPECT_EQ(window->Label2->text(), U("Трафик: 400 Кб"));
    EXPECT_EQ(window->Progress->value(), 100);
}

TEST_F(MainWindow, ExitRunsTheUnload) {
    app.settings.ClearCasheExit = true;
    QTest::mouseClick(window->Command5, Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(cleared, 1);
}

TEST_F(MainWindow, ClosingDuringADownloadAsksBeforeStopping) {
    QTest::mouseClick(window->Command1, Qt::LeftButton);
    messenger.answer(MessageAnswer::No);
    window->close();
    EXPECT_TRUE(window->isVisible()) << "No: the download goes on in its window";
    EXPECT_EQ(window->Command1->text(), U("Стоп"));
    messenger.answer(MessageAnswer::Yes);
    window->close();
    EXPECT_FALSE(window->isVisible());
    ASSERT_EQ(messenger.shown().size(), 2);
    EXPECT_EQ(messenger.shown().last().text,
              U("Вы уверены, что хотите остановить процесс загрузки?"));
}

TEST_F(MainWindow, ClosingAfterAnImmediateEndSkipsTheUnload) {
    app.settings.ClearCasheExit = true;
    controller->EndProgramAtOnce();
    window->close();
    EXPECT_EQ(cleared, 0);
}

// Presses the button captioned `caption` of the message box that opens next
// and reports what the box showed.
void pressInNextBox(const QString& caption, QString* seen) {
    QTimer::singleShot(50, [caption, seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        *seen = box->windowTitle() + "|" + box->text() + "|" + QString::number(box->icon());
        for (QAbstractButton* b : box->buttons())
            if (b->text() == caption)
                b->click();
    });
}

TEST(MessageBoxes, EnterAnswersNoWhereYesCannotBeUndone) {
    MessageBoxMessenger boxes;
    for (MessageButtons buttons : {MessageButtons::YesNoDefaultNo, MessageButtons::YesNo}) {
        QTimer::singleShot(50, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                QTest::keyClick(box, Qt::Key_Return);
        });
        EXPECT_EQ(boxes.Show("q", "t", MessageIcon::Question, buttons),
                  buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::No);
    }
}

TEST(MessageBoxes, QuestionsAnswerYesOrNoInRussian) {
    MessageBoxMessenger boxes;
    QString seen;
    pressInNextBox(U("Нет"), &seen);
    EXPECT_EQ(boxes.Show(U("Разорвать соединение?"), U("Подтверждение"), MessageIcon::Question,
                         MessageButtons::YesNo),
              MessageAnswer::No);
    EXPECT_EQ(seen,
              U("Подтверждение|Разорвать соединение?|") + QString::number(QMessageBox::Question));
    pressInNextBox(U("Да"), &seen);
    EXPECT_EQ(boxes.Show("q", "t", MessageIcon::Question, MessageButtons::YesNo),
              MessageAnswer::Yes);
    pressInNextBox("OK", &seen);
    EXPECT_EQ(boxes.Show(U("Нет загруженных номеров."), U("Архив"), MessageIcon::Information),
              MessageAnswer::Ok);
    EXPECT_EQ(seen,
              U("Архив|Нет загруженных номеров.|") + QString::number(QMessageBox::Information));
}

TEST(SingleInstance, ASecondCopyInTheSameFolderIsRefused) {
    TempProgramFolder one(false), two(false);
    SingleInstance first(one.path());
    ASSERT_TRUE(first.tryAcquire());
    SingleInstance again(one.path() + "/");
    EXPECT_EQ(again.lockPath(), first.lockPath());
    EXPECT_FALSE(again.tryAcquire());
    SingleInstance elsewhere(two.path());
    EXPECT_TRUE(elsewhere.tryAcquire());
    {
        SingleInstance third(two.path());
        EXPECT_FALSE(third.tryAcquire());
    }
}

TEST(SingleInstance, TheLockGoesWithItsHolder) {
    TempProgramFolder one(false);
    {
        SingleInstance first(one.path());
        ASSERT_TRUE(first.tryAcquire());
    }
    SingleInstance next(one.path());
    EXPECT_TRUE(next.tryAcquire());
}

} // namespace

namespace {

TEST_F(MainWindow, ItsPlaceIsKeptAndBroughtBackOntoASmallerScreen) {
    const QString options = OptionsFilePath(folder.path());
    QFile::remove(options);
    window->move(30, 40);
    window->resize(500, 400);
    window->close();
    EXPECT_FALSE(QFile::exists(options)) << "no settings file made of a place alone";

    WriteOptions(folder.path(), [](Settings&) {});
    window->show();
    window->move(30, 40);
    window->resize(500, 400);
    window->close();
    const QByteArray ini = folder.read("options.ini");
    EXPECT_TRUE(ini.contains("[Windows]\r\nMainLeft=30\r\nMainTop=40\r\nMainWidth=500\r\n"
                             "MainHeight=400\r\n"))
        << ini.toStdString();
    Main again(*controller);
    RestoreWindowPlace(again, options, "Main");
    EXPECT_EQ(again.pos(), QPoint(30, 40));
    EXPECT_EQ(again.size(), QSize(500, 400));

    // Closed on a larger screen, or one now gone to the right.
    INI file;
    file.setFileName(options);
    file.WInIi("Windows", "MainLeft", 9000);
    file.WInIi("Windows", "MainWidth", 12000);
    Main moved(*controller);
    RestoreWindowPlace(moved, options, "Main");
    const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(room.contains(QRect(moved.pos(), moved.size())))
        << moved.x() << " " << moved.width() << " in " << room.width();
}

TEST_F(MainWindow, OpenIssueIsReachedWithTabAndPressedWithSpaceOrEnter) {
    QStringList opened;
    controller->hooks.openIssue = [&](const QString& index) { opened << index; };
    controller->OfferIssue(folder.file("Download/2005.12.07"));
    ASSERT_TRUE(window->OpenIssueLink->isVisible());
    window->Command5->setFocus();
    for (int i = 0; i < 12 && window->focusWidget() != window->OpenIssueLink; ++i)
        QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(window->focusWidget(), window->OpenIssueLink);
    QTest::keyClick(window->OpenIssueLink, Qt::Key_Space);
    QTest::keyClick(window->OpenIssueLink, Qt::Key_Return);
    EXPECT_EQ(opened, QStringList(2, folder.file("Download/2005.12.07/index.htm")));
}

} // namespace
