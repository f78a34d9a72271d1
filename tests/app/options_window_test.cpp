// The settings window driven like a user on the offscreen platform: real
// widgets over a real program folder, options.ini, stylesheet, response
// cache and download control; the choosers, the copier and the page viewer
// answered by the test.
#include "app/options_window.h"
#include "archive/open_page.h"
#include "net/download_control.h"
#include "net/response_cache.h"
#include "settings/utf8_text.h"
#include "tests/support/scripted_messenger.h"
#include "tests/support/temp_program_folder.h"
#include "tests/support/url_catcher.h"

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class OptionsWindow : public ::testing::Test {
protected:
    TempProgramFolder folder;
    ScriptedMessenger messenger;
    AppState app;
    Download_Control DC;
    OptionsHooks hooks;
    std::unique_ptr<OptionsController> controller;
    std::unique_ptr<Options> window;

    void SetUp() override {
        app.ProgramFolder = folder.path();
        SetDefaults(app.settings, folder.path());
        SaveSettings(app.settings, app.OptionsINI, folder.path(), messenger);
        DC.PathCasheFiles(folder.file("cashe"));
    }
    void open() {
        controller = std::make_unique<OptionsController>(app, DC, messenger, hooks);
        controller->Timer1.setInterval(30);
        window = std::make_unique<Options>(*controller);
        controller->Open();
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void page(int i) { QTest::mouseClick(window->Option[i], Qt::LeftButton, {}, QPoint(6, 6)); }
    // Clicks a check box on its box, as a user does.
    static void tick(QAbstractButton* box) {
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    }
    // Replaces the field's text key by key; Cyrillic letters too, which
    // QTest::keyClicks cannot type.
    static void type(QLineEdit* field, const QString& text) {
        field->selectAll();
        for (QChar c : text)
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    ByteText ini() const { return folder.read("options.ini"); }
    void issueFolders(const QStringList& names) {
        for (const QString& name : names)
            QDir().mkpath(folder.file("Download/" + name));
    }
};

TEST_F(OptionsWindow, OpensOnTheFirstPageWithTheRecordInItsControls) {
    app.settings.UseProxy = true;
    app.settings.ProxyPort = "3128";
    app.settings.FolderFormat = 2;
    open();
    EXPECT_EQ(window->windowTitle(), U("Настройки"));
    EXPECT_TRUE(window->Option[0]->isChecked());
    EXPECT_EQ(window->Pages->currentIndex(), 0);
    EXPECT_EQ(window->Frame[3]->title(), U("Кэширование"));
    EXPECT_TRUE(window->Option6->isChecked());
    EXPECT_TRUE(window->Check8->isChecked());
    EXPECT_EQ(window->Text6->text(), "3128");
    EXPECT_EQ(window->Text4->text(), "11") << "the font size comes from the stylesheet";
    EXPECT_EQ(window->FontScroll->value(), 11);
    EXPECT_EQ(window->Text1->text(), "400");
    EXPECT_EQ(window->Text9->text(), U("Выберите каталог назначения  ->"));
    EXPECT_TRUE(QFileInfo(folder.file("Download")).isDir()) << "made on opening";
    page(3);
    EXPECT_EQ(window->Pages->currentIndex(), 3);
    EXPECT_TRUE(window->Check1->isVisible());
    EXPECT_FALSE(window->Check8->isVisible());
}

TEST_F(OptionsWindow, SaveWritesEveryKeyAsTheControlsShowAndHandsTheProxyOn) {
    open();
    tick(window->Option5);
    tick(window->Check8);
    page(1);
    tick(window->Check5);
    type(window->Text5, "proxy.local");
    type(window->Text6, "3128");
    tick(window->Check6);
    type(window->Text7, U("читатель"));
    type(window->Text8, "secret");
    EXPECT_EQ(window->ConnectionsSpin->value(), 6);
    window->ConnectionsSpin->setFocus();
    QTest::keyClick(window->ConnectionsSpin, Qt::Key_Down);
    EXPECT_EQ(window->ConnectionsSpin->maximum(), 16);
    page(2);
    window->FontScroll->setValue(13);
    EXPECT_EQ(window->Text4->text(), "13");
    page(3);
    window->CasheScroll->setValue(120);
    EXPECT_EQ(window->Text1->text(), "120");
    tick(window->Check3);
    page(4);
    tick(window->Check9);
    tick(window->Check13);
    click(window->Command1);

    EXPECT_EQ(window->result(), QDialog::Accepted);
    EXPECT_FALSE(window->isVisible());
    const ByteText expected =
        "[Main]\r\nDownloadImages=False\r\nFolderFormat=1\r\nIgnoreErrors=True\r\n"
        "AllwaysIndex=True\r\n"
        "[Network]\r\nKillConnect=False\r\nUseProxy=True\r\nProxyName=proxy.local\r\n"
        "ProxyPort=3128\r\nProxyAut=True\r\n" +
        W("ProxyLogin=читатель\r\n") +
        "ProxyPass=secret\r\nConnections=5\r\n"
        "[Processing]\r\nFileScript=" +
        cp1251::fromUnicode(folder.path()) +
        "/data/script.txt\r\nCSSFontSize=13\r\n"
        "[Cashe]\r\nUseCashe=True\r\nCasheSize=120\r\nClearCasheDown=True\r\n"
        "ClearCasheExit=True\r\nQuickDownload=True\r\n"
        "[Addon]\r\nAutoCopy=False\r\nFolderToCopy=\r\nClearFolderToCopy=False\r\n"
        "CreateSubFolders=False\r\nCreateMainIndex=True\r\nUseIE=False\r\nBrowser=\r\n"
        "MakeEpub=False\r\nKeepIssues=0\r\nKeepDays=0\r\n";
    EXPECT_EQ(cp1251::toUnicode(ini()).toStdString(), cp1251::toUnicode(expected).toStdString());
    EXPECT_TRUE(folder.read("data/kp.css").startsWith("/* current CSS font-size: 13px;"));
    EXPECT_TRUE(DC.RequestFor("/daily/").startsWith("GET http://"))
        << "the download control uses the proxy at once";
    EXPECT_TRUE(DC.RequestFor("/daily/").contains("Proxy-Authorization: Basic "));
    EXPECT_TRUE(messenger.shown().isEmpty());
}

TEST_F(OptionsWindow, CancelKeepsTheFileAndTheRecord) {
    const ByteText before = ini();
    open();
    tick(window->Check8);
    page(1);
    tick(window->Check5);
    click(window->Command2);
    EXPECT_EQ(window->result(), QDialog::Rejected);
    EXPECT_EQ(ini(), before);
    EXPECT_TRUE(app.settings.DownloadImages);
    EXPECT_FALSE(app.settings.UseProxy);
}

TEST_F(OptionsWindow, ThePlaceholderCopyFolderTurnsAutoCopyOff) {
    open();
    page(4);
    tick(window->Check9);
    EXPECT_TRUE(window->Check9->isChecked());
    click(window->Command1);
    EXPECT_TRUE(ini().contains("AutoCopy=False\r\nFolderToCopy=\r\n"));
    EXPECT_FALSE(app.settings.AutoCopy);
}

TEST_F(OptionsWindow, RefusesABadProxyPortBeforeSaving) {
    const ByteText before = ini();
    open();
    page(1);
    tick(window->Check5);
    type(window->Text6, "80a");
    page(0);
    click(window->Command1);
    ASSERT_EQ(messenger.shown().size(), 1);
    EXPECT_TRUE(messenger.shown()[0].text.contains("80a"));
    EXPECT_TRUE(messenger.shown()[0].text.contains("65535"));
    EXPECT_TRUE(window->isVisible()) << "the window stays open for the correction";
    EXPECT_EQ(window->Pages->currentIndex(), 1);
    EXPECT_EQ(QApplication::focusWidget(), window->Text6);
    EXPECT_EQ(ini(), before);

    type(window->Text6, "3128");
    click(window->Command1);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(ini().contains("UseProxy=True\r\nProxyName=127.0.0.1\r\nProxyPort=3128\r\n"));
}

TEST_F(OptionsWindow, CheckBoxesEnableAndDisableTheirGroups) {
    app.settings.UseProxy = true;
    app.settings.ProxyAut = true;
    open();
    page(1);
    EXPECT_TRUE(window->Text7->isEnabled());
    EXPECT_TRUE(window->Base64Label->isVisible());
    tick(window->Check5); // the proxy off, authorisation still checked
    EXPECT_TRUE(window->Check6->isChecked());
    EXPECT_FALSE(window->Check6->isEnabled());
    EXPECT_FALSE(window->Text5->isEnabled());
    EXPECT_FALSE(window->Text6->isEnabled());
    EXPECT_FALSE(window->Text7->isEnabled());
    EXPECT_FALSE(window->Text8->isEnabled());
    EXPECT_FALSE(window->Base64Label->isVisible());
    EXPECT_EQ(window->AuthFrame->palette().color(QPalette::Active, QPalette::WindowText),
              QColor(128, 128, 128));

    page(3);
    tick(window->Check1);
    EXPECT_FALSE(window->CasheScroll->isEnabled());
    EXPECT_FALSE(window->Check2->isEnabled());
    EXPECT_FALSE(window->Check3->isEnabled());
    EXPECT_FALSE(window->CasheSizeLabel->isEnabled());
    EXPECT_TRUE(window->Check11->isEnabled());

    page(4);
    EXPECT_FALSE(window->Command5->isEnabled());
    tick(window->Check9);
    EXPECT_TRUE(window->Command5->isEnabled());
    EXPECT_TRUE(window->Check14->isEnabled());
    EXPECT_FALSE(window->Command7->isEnabled());
    tick(window->Check13);
    EXPECT_TRUE(window->Command7->isEnabled());
    EXPECT_TRUE(window->Command8->isEnabled());
    tick(window->Check12);
    EXPECT_FALSE(window->Command9->isEnabled()) << "the archive holds no issue folder";
    tick(window->Check9);
    EXPECT_FALSE(window->Command7->isEnabled());
    EXPECT_FALSE(window->Check12->isEnabled());
}

TEST_F(OptionsWindow, CopyingTheWholeArchiveNeedsIssueFoldersAndACopyFolder) {
    issueFolders({"2005.01.12"});
    int copierOpened = 0;
    hooks.openArchiveCopier = [&] { ++copierOpened; };
    app.settings.AutoCopy = true;
    app.settings.CreateSubFolders = true;
    open();
    page(4);
    ASSERT_TRUE(window->Command9->isEnabled());
    click(window->Command9);
    ASSERT_EQ(messenger.shown().size(), 1);
    EXPECT_EQ(messenger.shown()[0].text,
              U("Куда копировать-то? Не выбрана директория назначения."));
    EXPECT_EQ(copierOpened, 0);

    hooks.chooseFolder = [&](const QString&) { return folder.file("copy"); };
    window = nullptr; // opened again with the chooser
    controller = nullptr;
    open();
    page(4);
    click(window->Command5);
    EXPECT_EQ(window->Text9->text(), folder.file("copy"));
    EXPECT_EQ(app.settings.FolderToCopy, folder.file("copy")) << "the chooser acts at once";
    click(window->Command9);
    EXPECT_EQ(copierOpened, 1);
}

TEST_F(OptionsWindow, DefaultsComeBackOnlyAfterYes) {
    app.settings.ProxyPass = "secret";
    app.settings.DownloadImages = false;
    SaveSettings(app.settings, app.OptionsINI, folder.path(), messenger);
    const ByteText changed = ini();
    open();
    messenger.answer(MessageAnswer::No);
    click(window->Command6);
    ASSERT_EQ(messenger.shown().size(), 1);
    EXPECT_EQ(messenger.shown()[0].title, U("Сброс настроек"));
    EXPECT_EQ(messenger.shown()[0].text, U("Сбросить настройки по умолчанию и записать их?"));
    EXPECT_EQ(messenger.shown()[0].buttons, MessageButtons::YesNoDefaultNo);
    EXPECT_EQ(ini(), changed);
    EXPECT_FALSE(window->Check8->isChecked());

    messenger.answer(MessageAnswer::Yes);
    click(window->Command6);
    EXPECT_TRUE(ini().contains("ProxyPass=\r\n"));
    EXPECT_TRUE(ini().contains("DownloadImages=True\r\n"));
    EXPECT_TRUE(window->Check8->isChecked()) << "the controls show the defaults";
    EXPECT_TRUE(window->isVisible());
}

TEST_F(OptionsWindow, ClearingTheCacheShowsZeroAndEmptiesItsFolder) {
    {
        ResponseCache cache;
        cache.setFolder(folder.file("cashe"));
        cache.clear();
        for (const char* path : {"/a", "/b", "/c"})
            cache.store("host", path, "HTTP/1.0 200 OK\r\n\r\nbody");
    }
    open();
    page(3);
    EXPECT_EQ(window->Text2->text(), "3");
    ASSERT_TRUE(window->Command3->isEnabled());
    click(window->Command3);
    EXPECT_EQ(window->Text2->text(), "0");
    EXPECT_FALSE(window->Command3->isEnabled());
    EXPECT_EQ(QDir(folder.file("cashe")).entryList(QDir::Files),
              QStringList{ResponseCache::IndexFileName});
    EXPECT_EQ(QApplication::focusWidget(), window->Command1);
}

TEST_F(OptionsWindow, TheStylesheetGoesToEveryIssueFolderAndTheCaptionComesBack) {
    issueFolders({"2005.01.12", "2005.01.19.KT"});
    open();
    page(2);
    window->FontScroll->setValue(14);
    click(window->Command10);
    const ByteText stylesheet = folder.read("data/kp.css");
    EXPECT_TRUE(stylesheet.startsWith("/* current CSS font-size: 14px;"));
    EXPECT_EQ(folder.read("Download/2005.01.12/kp.css"), stylesheet);
    EXPECT_EQ(folder.read("Download/2005.01.19.KT/kp.css"), stylesheet);
    EXPECT_EQ(app.settings.CSSFontSize, 14);
    EXPECT_EQ(window->Command10->text(), U("Новый css применен к архиву"));
    EXPECT_FALSE(window->Command10->isEnabled());
    EXPECT_TRUE(messenger.shown().isEmpty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->Command10->isEnabled(); }, 2000));
    EXPECT_EQ(window->Command10->text(), U("Применить к всему архиву"));
}

TEST_F(OptionsWindow, AMissingStylesheetIsReportedOnce) {
    QFile::remove(folder.file("data/kp.css"));
    open();
    messenger.clear(); // the opening reports it too
    page(2);
    click(window->Command10);
    ASSERT_EQ(messenger.shown().size(), 1);
    EXPECT_EQ(messenger.shown()[0].text,
              U("Я не понял, а куда делся файл ") + folder.file("data/kp.css") + " ?!");
    EXPECT_EQ(window->Command10->text(), U("Применить к всему архиву"));
}

TEST_F(OptionsWindow, TheMainIndexIsBuiltThenShown) {
    const QString copy = folder.file("copy");
    folder.write("copy/23456/index.htm", W("<div class=\"date\">12 января 2005 (23456)</div>"));
    hooks.chooseFolder = [&](const QString& title) {
        EXPECT_EQ(title, U("Выберите директорию для копирования"));
        return copy;
    };
    UrlCatcher desktop({"file"});
    open();
    page(4);
    tick(window->Check9);
    tick(window->Check13);
    click(window->Command8);
    ASSERT_EQ(messenger.shown().size(), 1);
    EXPECT_EQ(messenger.shown()[0].icon, MessageIcon::Information) << "no folder chosen yet";

    click(window->Command5);
    click(window->Command8);
    ASSERT_EQ(messenger.shown().size(), 2);
    EXPECT_EQ(messenger.shown()[1].text,
              U("Нечего смотреть. Общий индекс ") + copy + U("/index.htm не найден."));
    EXPECT_TRUE(desktop.urls.isEmpty());

    click(window->Command7);
    EXPECT_TRUE(folder.read("copy/index.htm").contains(W("12 января 2005 (номер 23456)")));
    EXPECT_EQ(window->Command7->text(), U("Индекс создан"));
    EXPECT_FALSE(window->Command7->isEnabled());
    click(window->Command8);
    EXPECT_EQ(desktop.urls, QList<QUrl>{QUrl::fromLocalFile(copy + "/index.htm")});
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->Command7->isEnabled(); }, 2000));
    EXPECT_EQ(window->Command7->text(), U("Создать сейчас"));
    EXPECT_EQ(messenger.shown().size(), 2);
}

TEST_F(OptionsWindow, AChooserCancelledChangesNothing) {
    QString askedTitle, askedFilter;
    hooks.chooseFile = [&](const QString& title, const QString& filter) {
        askedTitle = title;
        askedFilter = filter;
        return QString();
    };
    const QString script = app.settings.FileScript;
    open();
    page(2);
    click(window->Command4);
    EXPECT_EQ(askedTitle, U("Выберите процедурный файл"));
    EXPECT_TRUE(askedFilter.contains("*.txt"));
    EXPECT_EQ(window->Text3->text(), script);
    EXPECT_EQ(app.settings.FileScript, script);
}

} // namespace

TEST_F(OptionsWindow, TheReaderGroupSavesTheBookAndHowLongIssuesStay) {
    app.settings.KeepDays = -5; // a hand-edited file: shown as "always"
    open();
    page(4);
    EXPECT_EQ(window->ReaderFrame->title(), U("Для читалки"));
    EXPECT_FALSE(window->MakeEpubCheck->isChecked());
    EXPECT_EQ(window->KeepIssuesSpin->text(), U("все"));
    EXPECT_EQ(window->KeepDaysSpin->text(), U("всегда"));
    tick(window->MakeEpubCheck);
    window->KeepIssuesSpin->setFocus();
    QTest::keyClick(window->KeepIssuesSpin, Qt::Key_Up);
    QTest::keyClick(window->KeepIssuesSpin, Qt::Key_Up);
    window->KeepDaysSpin->setValue(30);
    click(window->Command1);
    EXPECT_TRUE(ini().endsWith("MakeEpub=True\r\nKeepIssues=2\r\nKeepDays=30\r\n"))
        << ini().toStdString();
    EXPECT_TRUE(app.settings.MakeEpub);

    open();
    page(4);
    EXPECT_TRUE(window->MakeEpubCheck->isChecked());
    EXPECT_EQ(window->KeepIssuesSpin->value(), 2);
    EXPECT_EQ(window->KeepDaysSpin->value(), 30);
}

// The browser is chosen (a path with blanks stays one word of the command)
// or typed, saved on "Сохранить", and an empty field means the desktop's.
TEST_F(OptionsWindow, TheBrowserIsChosenOrTypedAndEmptyMeansTheDesktops) {
    QString askedTitle;
    hooks.chooseFile = [&](const QString& title, const QString&) {
        askedTitle = title;
        return QStringLiteral("/opt/my browser/run");
    };
    open();
    EXPECT_TRUE(window->BrowserText->text().isEmpty());
    click(window->BrowserChooser);
    EXPECT_EQ(askedTitle, U("Выберите браузер"));
    EXPECT_EQ(window->BrowserText->text(), "\"/opt/my browser/run\"");
    click(window->Command1);
    EXPECT_TRUE(ini().contains("Browser=\"/opt/my browser/run\"\r\n")) << ini().toStdString();
    EXPECT_EQ(BrowserCommand(app.settings.Browser), QStringList("/opt/my browser/run"));

    open();
    EXPECT_EQ(window->BrowserText->text(), "\"/opt/my browser/run\"");
    window->BrowserText->setFocus();
    QTest::keyClick(window->BrowserText, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(window->BrowserText, Qt::Key_Delete);
    click(window->Command1);
    EXPECT_TRUE(ini().contains("Browser=\r\n")) << ini().toStdString();
    EXPECT_TRUE(BrowserCommand(app.settings.Browser).isEmpty());
}
