// Old issues retired after a download: exactly the newest N of the source
// stay, with their books; nothing that is not the program's issue folder is
// touched, inside the download folder or out.
#include "archive/retention.h"
#include "tests/support/issue_folders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct RetainedArchive {
    QTemporaryDir root;
    QString download = root.path() + "/Download";
    const QDate today{2026, 3, 1};

    RetainedArchive() {
        // Five newspaper issues, downloaded on the day after each.
        for (int day = 1; day <= 5; ++day)
            MakeIssueFolder(download, QStringLiteral("2026.02.0%1").arg(day), QDate(2026, 2, day),
                            ByteText::number(24000 + day), 1, QDate(2026, 2, day + 1), true);
        MakeIssueFolder(download, "2026.01.01.KT", QDate(2026, 1, 1), "700", 1, QDate(2026, 1, 2),
                        true);
        // Not the program's: no index, an index of someone else's, a link to
        // an issue folder elsewhere, a loose file.
        WriteFile(download, "photos/holiday.jpg", "jpeg");
        WriteFile(download, "notes/index.htm", "<html><body>my notes</body></html>");
        MakeIssueFolder(root.path() + "/elsewhere", "2025.12.01", QDate(2025, 12, 1), "23000");
        QFile::link(root.path() + "/elsewhere/2025.12.01", download + "/2025.12.01");
        WriteFile(download, "readme.txt", "text");
    }
    QStringList entries() const {
        return QDir(download).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
    }
    RetentionResult retire(const RetentionRule& rule, const QString& justDownloaded) const {
        return RetireOldIssues(download, 1, rule, download + "/" + justDownloaded, today);
    }
};

} // namespace

TEST(Retention, KeepsExactlyTheNewestIssuesOfTheSourceAndNothingElseIsTouched) {
    RetainedArchive a;
    const RetentionResult result = a.retire({2, 0}, "2026.02.05");
    EXPECT_EQ(result.deleted, (QStringList{"2026.02.03", "2026.02.02", "2026.02.01"}));
    EXPECT_TRUE(result.failed.isEmpty());
    EXPECT_EQ(a.entries(), (QStringList{"2025.12.01", "2026.01.01.KT", "2026.01.01.KT.epub",
                                        "2026.02.04", "2026.02.04.epub", "2026.02.05",
                                        "2026.02.05.epub", "notes", "photos", "readme.txt"}));
    EXPECT_TRUE(QFile::exists(a.root.path() + "/elsewhere/2025.12.01/index.htm"))
        << "a linked folder is no issue of this archive";
    EXPECT_TRUE(QFile::exists(a.download + "/photos/holiday.jpg"));
}

// Only a folder under a name the program gives (the issue's date either way
// round, or its number) is an issue to retire; a user's copy of one, with
// notes in it, is neither counted nor deleted.
TEST(Retention, AFolderUnderAnyOtherNameIsTheUsersAndStays) {
    RetainedArchive a;
    MakeIssueFolder(a.download, "2026.02.01 - copy", QDate(2026, 2, 1), "24001");
    WriteFile(a.download, "2026.02.01 - copy/notes.txt", "my notes");
    MakeIssueFolder(a.download, "23990", QDate(2026, 1, 20), "23990");
    MakeIssueFolder(a.download, "21.01.2026", QDate(2026, 1, 21), "23991");
    const RetentionResult result = a.retire({3, 0}, "2026.02.05");
    EXPECT_EQ(result.deleted, (QStringList{"2026.02.02", "2026.02.01", "21.01.2026", "23990"}));
    EXPECT_TRUE(result.failed.isEmpty()) << "the copy is no failure to report";
    EXPECT_TRUE(QFile::exists(a.download + "/2026.02.01 - copy/notes.txt"));
    EXPECT_FALSE(DeleteIssueFolder(a.download + "/2026.02.01 - copy", a.download));
    EXPECT_TRUE(QFile::exists(a.download + "/2026.02.01 - copy/index.htm"));
}

TEST(Retention, TheIssueJustDownloadedStaysEvenWhenItIsNotAmongTheNewest) {
    RetainedArchive a;
    const RetentionResult result = a.retire({1, 0}, "2026.02.02");
    EXPECT_EQ(result.deleted, (QStringList{"2026.02.04", "2026.02.03", "2026.02.01"}));
    EXPECT_TRUE(QFile::exists(a.download + "/2026.02.05/index.htm"));
    EXPECT_TRUE(QFile::exists(a.download + "/2026.02.02/index.htm"));
}

TEST(Retention, DaysCountFromTheDownloadAndZeroKeepsEverything) {
    RetainedArchive a;
    EXPECT_TRUE(a.retire({0, 0}, "2026.02.05").deleted.isEmpty());
    // Downloaded on 2, 3, 4, 5 and 6 February; on 1 March 24 days keep the
    // last two.
    const RetentionResult result = a.retire({0, 24}, "2026.02.05");
    EXPECT_EQ(result.deleted, (QStringList{"2026.02.03", "2026.02.02", "2026.02.01"}));
    EXPECT_TRUE(QFile::exists(a.download + "/2026.01.01.KT/index.htm")) << "the other source";
}

TEST(Retention, LinksInsideAnIssueFolderAreRemovedNotFollowed) {
    RetainedArchive a;
    WriteFile(a.root.path(), "precious/file.txt", "keep me");
    QFile::link(a.root.path() + "/precious", a.download + "/2026.02.01/img/linked");
    QFile::link(a.root.path() + "/precious/file.txt", a.download + "/2026.02.01/linked.txt");
    ASSERT_TRUE(DeleteIssueFolder(a.download + "/2026.02.01", a.download));
    EXPECT_FALSE(QFileInfo::exists(a.download + "/2026.02.01"));
    EXPECT_FALSE(QFileInfo::exists(a.download + "/2026.02.01.epub"));
    EXPECT_TRUE(QFile::exists(a.root.path() + "/precious/file.txt"));

    EXPECT_FALSE(DeleteIssueFolder(a.download + "/notes", a.download));
    EXPECT_FALSE(DeleteIssueFolder(a.download + "/2025.12.01", a.download));
    EXPECT_FALSE(DeleteIssueFolder(a.download, a.root.path()));
    EXPECT_FALSE(DeleteIssueFolder(a.root.path() + "/elsewhere/2025.12.01", a.download));
    EXPECT_TRUE(QFile::exists(a.download + "/notes/index.htm"));
    EXPECT_TRUE(QFile::exists(a.root.path() + "/elsewhere/2025.12.01/index.htm"));
}
