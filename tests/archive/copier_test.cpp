// The window "Копирование архива": the two-second start, the percentages and
// the bar, "Отмена" between folders, both messages, and the copy folder
// refused when it lies inside the archive.
#include "app/archive_windows.h"
#include "app/global.h"
#include "archive/copy_arhiv.h"
#include "tests/support/scripted_messenger.h"
#include "tests/support/temp_program_folder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class Copier : public ::testing::Test {
protected:
    void SetUp() override {
        SetDefaults(settings, home.path());
        settings.FolderToCopy = home.file("copy");
        QDir().mkpath(settings.FolderToCopy);
    }
    // count issue folders, each with an index, a page and a picture.
    void makeArchive(int count) {
        for (int i = 1; i <= count; ++i) {
            const QString issue = QString("Download/2006.11.%1").arg(10 + i);
            home.write(issue + "/index.htm", "index " + QByteArray::number(i));
            home.write(issue + "/page1.html", "page");
            home.write(issue + "/img/photo.jpg", "picture");
        }
    }
    QStringList copied() const {
        return QDir(settings.FolderToCopy).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    }

    // Opens the window modally and records what its status line and bar show
    // after each folder; then calls atPercent, if given, with the percentage.
    void run(const std::function<void(CopyArhiv&, int16_t)>& atPercent = {}) {
        QElapsedTimer clock;
        clock.start();
        CopyArhiv window(home.path(), settings, messenger);
        // The two-second start is timed by the first test alone.
        if (!waitTheStartDelay && window.Timer1.isActive())
            window.Timer1.start(0);
        auto shown = window.copy().progress;
        window.copy().progress = [&](int16_t percent) {
            shown(percent);
            statuses.append(window.Label1->text());
            bars.append(window.ProgressBar1->value());
            barVisible = window.ProgressBar1->isVisible();
            if (atPercent)
                atPercent(window, percent);
        };
        window.exec();
        ms = clock.elapsed();
        outcome = window.Outcome();
        closed = !window.isVisible();
    }

    TempProgramFolder home;
    Settings settings;
    ScriptedMessenger messenger;
    QStringList statuses;
    QList<int> bars;
    bool barVisible = false;
    bool waitTheStartDelay = false;
    qint64 ms = 0;
    ArchiveCopy::Result outcome = ArchiveCopy::Result::Cancelled;
    bool closed = false;
};

TEST_F(Copier, FourFoldersShowOneTwentySixFiftyOneSeventySixAndTheWindowCloses) {
    makeArchive(4);
    // Already in the copy folder: its own file stays, the issue's is replaced.
    home.write("copy/2006.11.12/index.htm", "old index");
    home.write("copy/2006.11.12/notes.txt", "mine");
    waitTheStartDelay = true;
    run();
    EXPECT_EQ(statuses, QStringList({QString::fromUtf8("Копирование: 1%..."),
                                     QString::fromUtf8("Копирование: 26%..."),
                                     QString::fromUtf8("Копирование: 51%..."),
                                     QString::fromUtf8("Копирование: 76%...")}));
    EXPECT_EQ(bars, QList<int>({1, 26, 51, 76}));
    EXPECT_TRUE(barVisible);
    EXPECT_GE(ms, CopyArhiv::StartDelayMs);
    EXPECT_TRUE(closed);
    EXPECT_EQ(outcome, ArchiveCopy::Result::Done);
    EXPECT_EQ(copied(), QStringList({"2006.11.11", "2006.11.12", "2006.11.13", "2006.11.14"}));
    EXPECT_EQ(home.read("copy/2006.11.12/index.htm"), "index 2");
    EXPECT_EQ(home.read("copy/2006.11.12/notes.txt"), "mine");
    EXPECT_EQ(home.read("copy/2006.11.14/img/photo.jpg"), "picture");
    EXPECT_TRUE(messenger.shown().isEmpty());
}

TEST_F(Copier, CancelAfterTheSecondFolderLeavesTwoFoldersCopied) {
    makeArchive(5);
    run([](CopyArhiv& window, int16_t percent) {
        // Pressed while the copy goes on: it takes effect before the next folder.
        if (percent == ArchiveCopy::Percentage(1, 5))
            QTimer::singleShot(0, window.Command1,
                               [&window] { QTest::mouseClick(window.Command1, Qt::LeftButton); });
    });
    EXPECT_EQ(copied(), QStringList({"2006.11.11", "2006.11.12"}));
    EXPECT_EQ(statuses.size(), 2);
    EXPECT_EQ(outcome, ArchiveCopy::Result::Cancelled);
    EXPECT_TRUE(closed);
}

TEST_F(Copier, AMissingCopyFolderIsReportedBeforeAnythingIsCopied) {
    makeArchive(2);
    settings.FolderToCopy = home.file("nowhere");
    run();
    ASSERT_EQ(messenger.shown().size(), 1);
    const ShownMessage& m = messenger.shown().first();
    EXPECT_EQ(m.text, QString::fromUtf8("Директория назначения: ") + settings.FolderToCopy +
                          QString::fromUtf8(" не найдена. Операция отменена."));
    EXPECT_EQ(m.title, QString::fromUtf8("Копирование"));
    EXPECT_EQ(m.icon, MessageIcon::Error);
    EXPECT_TRUE(statuses.isEmpty());
    EXPECT_FALSE(barVisible);
    EXPECT_EQ(outcome, ArchiveCopy::Result::TargetMissing);
    EXPECT_FALSE(QFileInfo::exists(settings.FolderToCopy));
}

TEST_F(Copier, AFolderThatCannotBeWrittenEndsTheCopyWithTheErrorMessage) {
    makeArchive(3);
    // A file where the second issue's folder would go.
    home.write("copy/2006.11.12", "in the way");
    run();
    ASSERT_EQ(messenger.shown().size(), 1);
    EXPECT_EQ(messenger.shown().first().text,
              QString::fromUtf8("Ошибка при копировании в директорию ") + settings.FolderToCopy +
                  QString::fromUtf8("\r\nОтсутствую права записи на сетевой ресурс, носитель "
                                    "защищен от записи, либо нет места на диске. Операция "
                                    "отменена."));
    EXPECT_EQ(copied(), QStringList({"2006.11.11"}));
    EXPECT_EQ(outcome, ArchiveCopy::Result::Failed);
    EXPECT_TRUE(closed);
}

TEST_F(Copier, ACopyFolderInsideTheArchiveIsRefused) {
    makeArchive(2);
    settings.FolderToCopy = home.file("Download/2006.11.11/copies");
    QDir().mkpath(settings.FolderToCopy);
    run();
    ASSERT_EQ(messenger.shown().size(), 1);
    EXPECT_TRUE(messenger.shown().first().text.contains(QString::fromUtf8("внутри архива")));
    EXPECT_EQ(outcome, ArchiveCopy::Result::TargetInsideArchive);
    EXPECT_TRUE(copied().isEmpty());
}

TEST_F(Copier, AnEmptyArchiveWaitsAtPreparationUntilCancel) {
    CopyArhiv window(home.path(), settings, messenger);
    window.show();
    EXPECT_EQ(window.Label1->text(), QString::fromUtf8("Подготовка к копированию..."));
    EXPECT_FALSE(window.Timer1.isActive());
    EXPECT_EQ(window.windowTitle(), QString::fromUtf8("Копирование архива"));
    QTest::mouseClick(window.Command1, Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(messenger.shown().isEmpty());
}

TEST_F(Copier, OtherWindowsOpenItForTheCopyFolderAsItStandsWhenOpened) {
    makeArchive(2);
    AppState app;
    app.ProgramFolder = home.path();
    const std::function<void()> openCopier = ArchiveCopierOpener(app, messenger, nullptr);
    // Chosen after the hook was made, as in the settings window.
    app.settings.FolderToCopy = settings.FolderToCopy;
    openCopier();
    EXPECT_EQ(copied(), QStringList({"2006.11.11", "2006.11.12"}));
    EXPECT_TRUE(messenger.shown().isEmpty());
}

} // namespace
