// The window "Архив" driven like a user, over issues the program downloaded
// from the demo site: the list, the panel, the preview and its button, the
// browser option, "Открыть" with and without it, and "Книга EPUB".
#include "archive/arhiv.h"
#include "archive/issue_folder.h"
#include "htmlview/html_label.h"
#include "settings/utf8_text.h"
#include "tests/archive/demo_archive.h"
#include "tests/support/epub_reader.h"
#include "tests/support/issue_folders.h"
#include "tests/support/scripted_messenger.h"
#include "tests/support/temp_program_folder.h"
#include "tests/support/url_catcher.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

class ArchiveWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(demo().error.isEmpty()) << demo().error.toStdString();
        SetDefaults(settings, home.path());
    }
    static const DemoIssues& demo() { return DownloadedDemoIssues(); }

    // The window over the program folder, shown.
    std::unique_ptr<Arhiv> open(const QString& programFolder = {}) {
        auto window = std::make_unique<Arhiv>(programFolder.isEmpty() ? home.path() : programFolder,
                                              settings, messenger);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return window;
    }
    // A click on the list entry that reads name.
    static void pick(Arhiv& window, const QString& name) {
        const auto items = window.List1->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << name.toStdString();
        const QRect row = window.List1->visualItemRect(items.first());
        QTest::mouseClick(window.List1->viewport(), Qt::LeftButton, {}, row.center());
    }
    static QStringList panel(const Arhiv& w) {
        return {w.NumberValue->text(), w.DateValue->text(), w.BuiltValue->text(),
                w.PagesValue->text(), w.PicturesValue->text()};
    }
    // The numeric date a YYYY.MM.DD folder name stands for.
    static QString dateOfFolder(const QString& name) {
        const QStringList p = name.left(10).split('.');
        return p.at(2) + "." + p.at(1) + "." + p.at(0);
    }

    TempProgramFolder home;
    Settings settings;
    ScriptedMessenger messenger;
};

TEST_F(ArchiveWindow, ListsTheDownloadedIssuesAndShowsThePanelOfEach) {
    CopyDemoIssue(home, demo().newspaper);
    CopyDemoIssue(home, demo().magazine);
    home.write("Download/unfinished/page1.html", "x");
    auto window = open();
    EXPECT_EQ(window->List1->count(), 2);
    EXPECT_EQ(window->List1->item(0)->text(), demo().magazine);
    EXPECT_EQ(window->List1->item(1)->text(), demo().newspaper);
    // What the user sees: every letter as wide as another, whatever fonts
    // the machine has.
    const QFontMetrics metrics(window->List1->font());
    EXPECT_EQ(metrics.horizontalAdvance("iiii.1111"), metrics.horizontalAdvance("WWWW.MMMM"));
    EXPECT_FALSE(window->Command3->isVisible()) << "no preview before a selection";
    EXPECT_EQ(panel(*window), QStringList(5, "---"));

    const QString today = QDate::currentDate().toString("dd.MM.yyyy");
    for (const QString& issue : {demo().newspaper, demo().magazine}) {
        pick(*window, issue);
        const QString folder = home.file("Download/" + issue);
        const QStringList shown = panel(*window);
        const ByteText index = home.read("Download/" + issue + "/index.htm");
        EXPECT_TRUE(index.contains(" (" + shown.at(0).toLatin1() + ")</div>"))
            << issue.toStdString();
        EXPECT_EQ(shown.at(1), dateOfFolder(issue));
        EXPECT_EQ(shown.at(2), today);
        EXPECT_EQ(shown.at(3),
                  QString::number(QDir(folder, "page*.html").entryList(QDir::Files).size()));
        EXPECT_EQ(shown.at(4), QString::fromUtf8("да"));
        EXPECT_TRUE(window->Command3->isVisible());
    }
}

TEST_F(ArchiveWindow, AnIssueWithOnlyTheIndexPicturesShowsNoAndOnePagePictureYes) {
    const QString folder = CopyDemoIssue(home, demo().newspaper);
    QDir img(folder + "/img");
    for (const QString& name : img.entryList(QDir::Files)) {
        if (name != "t-01.gif" && name != "t-02.gif")
            img.remove(name);
    }
    auto window = open();
    pick(*window, demo().newspaper);
    EXPECT_EQ(window->PicturesValue->text(), QString::fromUtf8("нет"));
    home.write("Download/" + demo().newspaper + "/img/photo.jpg", "x");
    window->List1->clearSelection();
    window->List1->setCurrentRow(-1);
    pick(*window, demo().newspaper);
    EXPECT_EQ(window->PicturesValue->text(), QString::fromUtf8("да"));
}

TEST_F(ArchiveWindow, ADamagedIndexLeavesDashesWhereItCannotBeReadAndCountsTheFiles) {
    const QString folder = CopyDemoIssue(home, demo().newspaper);
    ByteText index = home.read("Download/" + demo().newspaper + "/index.htm");
    const qsizetype heading = index.indexOf("<div class=\"date\">");
    ASSERT_GT(heading, 0);
    // Cut short a few characters into the date, as a disk that filled up would.
    home.write("Download/" + demo().newspaper + "/index.htm", index.left(heading + 22));
    auto window = open();
    pick(*window, demo().newspaper);
    const QStringList shown = panel(*window);
    EXPECT_EQ(shown.mid(0, 3), QStringList(3, "---"));
    EXPECT_EQ(shown.at(3),
              QString::number(QDir(folder, "page*.html").entryList(QDir::Files).size()));
    EXPECT_EQ(shown.at(4), QString::fromUtf8("да"));
    EXPECT_TRUE(messenger.shown().isEmpty()) << "the window shows no messages";
}

TEST_F(ArchiveWindow, ThePreviewGetsTheIndexWithFullWidthTablesGreyBackgroundAndNoFooter) {
    CopyDemoIssue(home, demo().newspaper);
    auto window = open();
    pick(*window, demo().newspaper);
    const ByteText shown = window->HTMLLabel1->DocumentHTML();
    const ByteText index = home.read("Download/" + demo().newspaper + "/index.htm");
    ASSERT_TRUE(index.contains("table width=\"600\""));
    ASSERT_TRUE(index.contains("N019051"));
    EXPECT_FALSE(shown.isEmpty());
    EXPECT_FALSE(shown.contains("table width=\"600\""));
    EXPECT_TRUE(shown.contains("100%"));
    EXPECT_TRUE(shown.contains("#CCCCCC"));
    EXPECT_FALSE(shown.contains("N019051"));
    EXPECT_EQ(home.read("Download/" + demo().newspaper + "/index.htm"), index)
        << "the index file itself stays as it is";
}

TEST_F(ArchiveWindow, ThePreviewButtonSwapsListAndPanelForThePreviewAndMovesTheFocus) {
    CopyDemoIssue(home, demo().newspaper);
    auto window = open();
    pick(*window, demo().newspaper);
    Arhiv& w = *window;
    EXPECT_EQ(w.Command3->toolTip(), QString::fromUtf8("Предварительный просмотр"));
    EXPECT_EQ(w.Command3->icon().cacheKey(), w.PreviewOffPicture.cacheKey());
    EXPECT_FALSE(w.HTMLLabel1->isVisible());

    QTest::mouseClick(w.Command3, Qt::LeftButton);
    EXPECT_TRUE(w.HTMLLabel1->isVisible());
    EXPECT_FALSE(w.List1->isVisible());
    EXPECT_FALSE(w.SearchField->isVisible()) << "no field left over the empty half";
    EXPECT_FALSE(w.Frame1->isVisible());
    EXPECT_EQ(w.focusWidget(), w.Command1);
    EXPECT_EQ(w.Command3->icon().cacheKey(), w.PreviewOnPicture.cacheKey());
    // The preview is laid out over the control's width: the page is painted.
    const QImage surface = w.HTMLLabel1->surfaceImage();
    ASSERT_FALSE(surface.isNull());
    EXPECT_GT(surface.width(), 300);

    QTest::mouseClick(w.Command3, Qt::LeftButton);
    EXPECT_FALSE(w.HTMLLabel1->isVisible());
    EXPECT_TRUE(w.List1->isVisible());
    EXPECT_TRUE(w.SearchField->isVisible());
    EXPECT_TRUE(w.Frame1->isVisible());
    EXPECT_EQ(w.focusWidget(), w.List1);
    EXPECT_EQ(w.Command3->icon().cacheKey(), w.PreviewOffPicture.cacheKey());
}

TEST_F(ArchiveWindow, TheBrowserOptionIsWrittenAtOnceAndOnlyItsFirstChangeLeavesTheFocus) {
    home.write("options.ini", "[Addon]\r\nUseIE=False\r\n");
    CopyDemoIssue(home, demo().newspaper);
    {
        auto window = open();
        Arhiv& w = *window;
        EXPECT_EQ(w.Check1->text(), QString::fromUtf8("Открывать в выбранном браузере"));
        pick(w, demo().newspaper);
        QTest::mouseClick(w.Check1, Qt::LeftButton);
        EXPECT_TRUE(settings.UseIE);
        EXPECT_EQ(home.read("options.ini"), "[Addon]\r\nUseIE=True\r\n");
        EXPECT_EQ(w.focusWidget(), w.Check1) << "where the click put it, not on \"Открыть\"";
    }
    // Opened with the option set, showing it was its first change.
    auto window = open();
    Arhiv& w = *window;
    EXPECT_TRUE(w.Check1->isChecked());
    pick(w, demo().newspaper);
    QTest::mouseClick(w.Check1, Qt::LeftButton);
    EXPECT_FALSE(settings.UseIE);
    EXPECT_EQ(home.read("options.ini"), "[Addon]\r\nUseIE=False\r\n");
    EXPECT_EQ(w.focusWidget(), w.Command1);
}

TEST_F(ArchiveWindow, OpensWhereItWasClosed) {
    WriteOptions(home.path(), [](Settings&) {});
    auto window = open();
    window->move(50, 60);
    window->resize(640, 420);
    window->Command2->click();
    auto again = open();
    EXPECT_EQ(again->pos(), QPoint(50, 60));
    EXPECT_EQ(again->size(), QSize(640, 420));
}

TEST_F(ArchiveWindow, OpenWithoutASelectionDoesNothing) {
    CopyDemoIssue(home, demo().newspaper);
    auto window = open();
    QTest::mouseClick(window->Command1, Qt::LeftButton);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(messenger.shown().isEmpty());
}

// A browser that writes down its arguments, one a line, beside itself.
QString RecordingBrowser(const TempProgramFolder& home) {
    home.write("browser.sh",
               "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$0.args\"\n");
    QFile::setPermissions(home.file("browser.sh"), QFile::ReadOwner | QFile::ExeOwner);
    return home.file("browser.sh");
}

QByteArray WaitForFile(const QString& path) {
    for (int waited = 0; waited < 10'000 && !QFile::exists(path); waited += 50)
        QTest::qWait(50);
    QTest::qWait(100);
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST_F(ArchiveWindow, OpenWithTheOptionStartsTheChosenBrowserWithThePageAfterClosing) {
    // A program folder whose path holds blanks: the page stays one argument.
    const QString programFolder = home.file(QString::fromUtf8("мой архив"));
    QDir().mkpath(programFolder + "/Download");
    CopyFolder(demo().archive + "/" + demo().magazine,
               programFolder + "/Download/" + demo().magazine);
    settings.UseIE = true;
    settings.Browser = RecordingBrowser(home) + " --new-window";
    auto window = open(programFolder);
    pick(*window, demo().magazine);
    QTest::mouseClick(window->Command1, Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), QDialog::Accepted);
    const QString page = programFolder + "/Download/" + demo().magazine + "/index.htm";
    EXPECT_EQ(QString::fromUtf8(WaitForFile(home.file("browser.sh.args"))),
              "--new-window\n" + page + "\n");
    EXPECT_TRUE(messenger.shown().isEmpty());
}

TEST_F(ArchiveWindow, ABrowserThatCannotStartIsReported) {
    CopyDemoIssue(home, demo().newspaper);
    settings.UseIE = true;
    settings.Browser = home.file("no-such-browser");
    auto window = open();
    pick(*window, demo().newspaper);
    QTest::mouseClick(window->Command1, Qt::LeftButton);
    ASSERT_EQ(messenger.shown().size(), 1);
    EXPECT_TRUE(messenger.shown().first().text.contains(settings.Browser));
    EXPECT_EQ(messenger.shown().first().icon, MessageIcon::Error);
}

TEST_F(ArchiveWindow, OpenWithoutTheOptionHandsThePageToTheDesktopAfterClosing) {
    CopyDemoIssue(home, demo().newspaper);
    settings.UseIE = false;
    settings.Browser = RecordingBrowser(home);
    UrlCatcher desktop({"file"});
    auto window = open();
    qsizetype openedWhenClosed = -1;
    QObject::connect(window.get(), &QDialog::finished,
                     [&] { openedWhenClosed = desktop.urls.size(); });
    pick(*window, demo().newspaper);
    QTest::mouseClick(window->Command1, Qt::LeftButton);
    EXPECT_EQ(desktop.urls, QList<QUrl>({QUrl::fromLocalFile(
                                home.file("Download/" + demo().newspaper + "/index.htm"))}));
    EXPECT_EQ(openedWhenClosed, 0) << "the window closes before the page opens";
    QTest::qWait(200);
    EXPECT_FALSE(QFile::exists(home.file("browser.sh.args"))) << "the chosen browser is not used";
}

TEST_F(ArchiveWindow, TheBookButtonWritesTheSelectedIssuesBookBesideItAndSaysWhere) {
    CopyDemoIssue(home, demo().newspaper);
    const QString folder = CopyDemoIssue(home, demo().magazine);
    auto window = open();
    EXPECT_FALSE(window->Command4->isEnabled()) << "no book before a selection";
    pick(*window, demo().magazine);
    ASSERT_TRUE(window->Command4->isEnabled());
    QTest::mouseClick(window->Command4, Qt::LeftButton);

    const QString book = folder + ".epub";
    const int pages = QDir(folder, "page*.html").entryList(QDir::Files).size();
    ASSERT_EQ(messenger.shown().size(), 1);
    const ShownMessage said = messenger.shown().first();
    EXPECT_EQ(said.icon, MessageIcon::Information);
    EXPECT_EQ(said.title, QString::fromUtf8("Книга для читалки"));
    EXPECT_TRUE(said.text.contains(book + QString::fromUtf8(" (страниц: %1,").arg(pages)))
        << said.text.toStdString();
    const EpubContents contents = ReadEpub(book);
    ASSERT_TRUE(contents.readable);
    EXPECT_EQ(contents.entries.first().name, "mimetype");
    EXPECT_EQ(contents.spine().size(), 1 + pages) << "the index page and every page";
    EXPECT_EQ(contents.manifest("properties").key("cover-image"), "img/cover.jpg");
    for (const QByteArray& document : contents.spine()) {
        for (const QByteArray& src :
             AttributeValues(contents.bytes("OEBPS/" + document), "img", "src"))
            EXPECT_TRUE(contents.has("OEBPS/" + src)) << document.data() << ": " << src.data();
    }
    EXPECT_FALSE(QFile::exists(home.file("Download/" + demo().newspaper + ".epub")));
    EXPECT_TRUE(window->isVisible()) << "the window stays open";
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "the wait cursor is gone";
}

// A scheduled run that retired the issue while the window was open.
TEST_F(ArchiveWindow, TheBookOfAnIssueGoneSinceItWasListedIsRefusedWithTheReason) {
    const QString folder = CopyDemoIssue(home, demo().newspaper);
    auto window = open();
    pick(*window, demo().newspaper);
    ASSERT_TRUE(QDir(folder).removeRecursively());
    QTest::mouseClick(window->Command4, Qt::LeftButton);
    ASSERT_EQ(messenger.shown().size(), 1);
    EXPECT_EQ(messenger.shown().first().icon, MessageIcon::Error);
    EXPECT_TRUE(messenger.shown().first().text.contains(folder));
    EXPECT_TRUE(messenger.shown().first().text.contains("index.htm"));
    EXPECT_EQ(QDir(home.file("Download")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList())
        << "no book, not even a part of one";
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

} // namespace

TEST_F(ArchiveWindow, SearchHitsReplaceTheListAndOpenOpensTheChosenPage) {
    CopyDemoIssue(home, demo().newspaper);
    CopyDemoIssue(home, demo().magazine);
    settings.UseIE = false;
    UrlCatcher desktop({"file"});
    auto window = open();
    // QTest types Latin letters only: the text goes in as a paste would.
    window->SearchField->setText(U("Фестивалями"));
    QTest::keyClick(window->SearchField, Qt::Key_Return);
    ASSERT_TRUE(window->isVisible()) << "Enter in the field searches, it opens nothing";

    // Three pages hold forms of the word; the index was built for the search.
    QStringList rows;
    for (int i = 0; i < window->List1->count(); ++i)
        rows << window->List1->item(i)->text();
    ASSERT_EQ(rows.size(), 4) << rows.join('|').toStdString();
    EXPECT_TRUE(rows.last().contains(U("Поисковый индекс"))) << rows.last().toStdString();
    const auto page2 = window->List1->findItems(U("Организаторы [фестиваля]"), Qt::MatchContains);
    ASSERT_EQ(page2.size(), 1) << rows.join('|').toStdString();
    EXPECT_TRUE(page2.first()->text().startsWith(dateOfFolder(demo().newspaper) + "  kp  "));

    QTest::mouseClick(window->List1->viewport(), Qt::LeftButton, {},
                      window->List1->visualItemRect(page2.first()).center());
    EXPECT_TRUE(window->browser().Preview.contains(W("новогоднюю"))) << "the page is previewed";
    EXPECT_EQ(window->NumberValue->text(), "24001");
    QTest::mouseClick(window->Command1, Qt::LeftButton);
    EXPECT_EQ(desktop.urls, QList<QUrl>({QUrl::fromLocalFile(
                                home.file("Download/" + demo().newspaper + "/page2.html"))}));

    auto again = open();
    again->SearchField->setText(U("фестиваль"));
    QTest::keyClick(again->SearchField, Qt::Key_Return);
    again->SearchField->clear();
    EXPECT_EQ(again->List1->count(), 2) << "an empty field brings the issues back";
    EXPECT_EQ(again->List1->item(0)->text(), demo().magazine);
}

// The first search of an archive without an index (after an upgrade, a
// deleted index) indexes it whole first: the window repaints meanwhile and
// counts the issues in its list, then shows the hits.
TEST_F(ArchiveWindow, TheFirstSearchCountsTheArchiveIntoTheIndexWhileTheWindowRepaints) {
    CopyDemoIssue(home, demo().newspaper);
    MakeGeneratedArchive(home.file("Download"), 400, QDate(2006, 11, 1));
    auto window = open();
    QStringList counts;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        const QListWidgetItem* first = window->List1->item(0);
        if (first && first->text().startsWith(U("Индексация архива: ")))
            counts << first->text();
    });
    watcher.start(5);
    window->SearchField->setText(U("Фестивалями"));
    QTest::keyClick(window->SearchField, Qt::Key_Return);
    watcher.stop();

    ASSERT_FALSE(counts.isEmpty()) << "the window answered while the archive was indexed";
    EXPECT_TRUE(counts.last().endsWith(U(" из 401"))) << counts.last().toStdString();
    EXPECT_EQ(window->List1->findItems(U("Организаторы [фестиваля]"), Qt::MatchContains).size(), 1);
}
