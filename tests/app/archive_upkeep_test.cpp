// What follows a finished download for readers: the book, the retirement of
// older issues, and the main index rebuilt where the program keeps one in
// the download folder itself.
#include "app/archive_upkeep.h"
#include "ebook/issue_book.h"
#include "tests/support/issue_folders.h"
#include "tests/support/scripted_messenger.h"
#include "tests/support/temp_program_folder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

struct Downloaded {
    TempProgramFolder home;
    AppState app;
    ScriptedMessenger messenger;
    QStringList statuses;
    QString download = home.file("Download");

    Downloaded() {
        app.ProgramFolder = home.path();
        SetDefaults(app.settings, home.path());
        for (int day = 1; day <= 3; ++day)
            MakeIssueFolder(download, QStringLiteral("2026.02.0%1").arg(day), QDate(2026, 2, day),
                            ByteText::number(24000 + day), 2);
        app.state.CurrentSource = 1;
        app.state.IssueFolder = download + "/2026.02.03";
    }
    UpkeepResult run() {
        return ArchiveUpkeep(
            app, messenger, MakeIssueBook, [this](const QString& s) { statuses << s; },
            QDate(2026, 2, 4));
    }
};

} // namespace

TEST(ArchiveUpkeep, MakesTheBookRetiresOldIssuesAndRebuildsAMainIndexKeptInTheArchive) {
    Downloaded d;
    d.app.settings.MakeEpub = true;
    d.app.settings.KeepIssues = 2;
    d.app.settings.FolderToCopy = d.download;
    const UpkeepResult result = d.run();
    EXPECT_TRUE(result.bookWritten);
    EXPECT_EQ(result.retired, QStringList{"2026.02.01"});
    EXPECT_TRUE(QFile::exists(d.download + "/2026.02.03.epub"));
    EXPECT_EQ(d.statuses,
              (QStringList{"Создание книги для читалки...", "Удаление старых номеров..."}));
    const QByteArray mainIndex = d.home.read("Download/index.htm");
    EXPECT_TRUE(mainIndex.contains("2026.02.03/index.htm"));
    EXPECT_FALSE(mainIndex.contains("2026.02.01")) << "no link to a retired issue";
    EXPECT_TRUE(d.messenger.shown().isEmpty());
}

TEST(ArchiveUpkeep, WithTheSettingsOffNothingChangesAndAFailedBookIsReported) {
    Downloaded d;
    d.run();
    EXPECT_EQ(QDir(d.download).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 3);
    EXPECT_TRUE(d.statuses.isEmpty());

    d.app.settings.MakeEpub = true;
    QFile::remove(d.download + "/2026.02.03/index.htm");
    EXPECT_FALSE(d.run().bookWritten);
    ASSERT_EQ(d.messenger.shown().size(), 1);
    EXPECT_EQ(d.messenger.shown().first().title, "Книга для читалки");
    EXPECT_EQ(d.messenger.shown().first().icon, MessageIcon::Error);
}
