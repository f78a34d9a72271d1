// The about window's links, the two choosers over the real file dialog, and
// the main window's "Настройки" and "О программе" opening their windows.
#include "app/about_window.h"
#include "app/choosers.h"
#include "app/main_controller.h"
#include "app/main_window.h"
#include "app/options_window.h"
#include "app/window_hooks.h"
#include "net/download_control.h"
#include "settings/utf8_text.h"
#include "tests/support/scripted_messenger.h"
#include "tests/support/temp_program_folder.h"
#include "tests/support/url_catcher.h"
#include "ui/labels.h"
#include "ui/toolkit_russian.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Answers the next modal window once it is up, when it is a T; any other
// window is closed, so a failure cannot leave the test waiting.
template <class T> void WhenModal(std::function<void(T*)> answer) {
    QTimer::singleShot(50, [answer] {
        QWidget* modal = QApplication::activeModalWidget();
        if (T* window = qobject_cast<T*>(modal))
            return answer(window);
        ADD_FAILURE() << "another modal window, or none";
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
    });
}

TEST(AboutWindow, ShowsTheVersionAndOpensEachLinkThroughTheDesktop) {
    Sites sites;
    sites.HomePage = "127.0.0.1:8081";
    About window(sites);
    window.show();
    EXPECT_EQ(window.windowTitle(), U("О программе"));
    EXPECT_EQ(window.VersionLabel->text(), U("Версия: 2.1.7"));
    EXPECT_EQ(window.ProgramLink->toolTip(), U("Посетить сайт программы"));
    EXPECT_TRUE(window.SiteLink->toolTip().isEmpty());
    EXPECT_EQ(window.ForumLink->toolTip(), U("Обсудить программу на форуме"));
    EXPECT_EQ(window.MailLink->toolTip(), U("Отправить письмо автору программы"));

    UrlCatcher desktop({"http", "mailto"});
    for (LinkLabel* link : {window.ProgramLink, window.SiteLink, window.ForumLink, window.MailLink,
                            window.NewspaperLink, window.MagazineLink})
        QTest::mouseClick(link, Qt::LeftButton);
    const QList<QUrl> expected = {
        QUrl("http://127.0.0.1:8081/"),
        QUrl("http://127.0.0.1:8081/"),
        QUrl("http://127.0.0.1:8081/forum/index.php"),
        QUrl("mailto:author@norvel.ru?subject=Norvel2 message"),
        QUrl("http://www.vedomir.ru/"),
        QUrl("http://www.zenitra.ru/"),
    };
    EXPECT_EQ(desktop.urls, expected);

    QTest::mouseClick(window.CloseButton, Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
}

TEST(Choosers, GiveEmptyTextOnCancelAndTheFullPathOnAChoice) {
    TempProgramFolder folder;
    folder.write("scripts/mine.txt", "x");
    QString title;
    WhenModal<QFileDialog>([&](QFileDialog* dialog) {
        title = dialog->windowTitle();
        dialog->reject();
    });
    EXPECT_EQ(OpenFolder(U("Выберите директорию для копирования"), nullptr), QString());
    EXPECT_EQ(title, U("Выберите директорию для копирования"));

    WhenModal<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    EXPECT_EQ(OpenFile(U("Выберите процедурный файл"), "*.txt (*.txt)", nullptr), QString());

    WhenModal<QFileDialog>([&](QFileDialog* dialog) {
        dialog->setDirectory(folder.file("scripts"));
        // Typed into the name field, as a user may.
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        if (!name) {
            ADD_FAILURE() << "no name field";
            return dialog->reject();
        }
        name->setText(folder.file("scripts/mine.txt"));
        static_cast<QDialog*>(dialog)->accept(); // QFileDialog::accept is protected
    });
    EXPECT_EQ(OpenFile(U("Выберите процедурный файл"), "*.txt (*.txt)", nullptr),
              folder.file("scripts/mine.txt"));

    WhenModal<QFileDialog>([&](QFileDialog* dialog) {
        dialog->setDirectory(folder.file("scripts"));
        static_cast<QDialog*>(dialog)->accept(); // QFileDialog::accept is protected
    });
    EXPECT_EQ(OpenFolder(U("Выберите директорию для копирования"), nullptr),
              folder.file("scripts"));
}

TEST(Choosers, SpeakRussianWithTheToolkitTranslation) {
    ASSERT_TRUE(LoadToolkitRussian(*QCoreApplication::instance()));
    QStringList captions;
    WhenModal<QFileDialog>([&](QFileDialog* dialog) {
        for (QPushButton* b : dialog->findChild<QDialogButtonBox*>()->findChildren<QPushButton*>())
            captions << b->text().remove('&');
        dialog->reject();
    });
    OpenFolder(U("Выберите директорию для копирования"), nullptr);
    EXPECT_TRUE(captions.contains(U("Отмена"))) << captions.join(',').toStdString();
}

TEST(MainWindowButtons, OpenTheSettingsAndTheAboutWindow) {
    TempProgramFolder folder;
    ScriptedMessenger messenger;
    AppState app;
    app.ProgramFolder = folder.path();
    Download_Control DC;
    MainController controller(app, messenger);
    Main window(controller);
    controller.Load("");
    OptionsHooks hooks;
    WireOptionsAndAbout(controller, DC, messenger, hooks, &window);
    window.show();

    QString opened;
    WhenModal<Options>([&](Options* options) {
        opened = options->windowTitle();
        options->Command2->click();
    });
    QTest::mouseClick(window.Command2, Qt::LeftButton);
    EXPECT_EQ(opened, U("Настройки"));

    WhenModal<About>([&](About* about) {
        opened = about->windowTitle();
        about->CloseButton->click();
    });
    QTest::mouseClick(window.Command4, Qt::LeftButton);
    EXPECT_EQ(opened, U("О программе"));
}

} // namespace
