// Which writes wait for the disk. Settings and a complete issue's index are
// synced, the file and then its folder, so a power cut cannot lose them;
// pages, pictures, the cache and an incomplete issue's index are not, since
// each wait costs more than fetching the file again. A power cut cannot be
// staged, but the waits can be seen: this program defines fsync itself, and
// the program's libraries, linked statically, call this one.
#include "settings/settings.h"
#include "settings/whole_file.h"
#include "tests/e2e/e2e_fixture.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// The paths of every file and folder synced, in order, one a line.
QStringList synced;

// What a write of file that waits for the disk syncs: the hidden file it
// fills, then, once that has the file's name, the folder.
QString SyncsOfAWrite(const QString& file) {
    return PartFilePath(file) + "\n" + QFileInfo(file).path();
}

} // namespace

extern "C" int fsync(int fd) {
    const QString link = QStringLiteral("/proc/self/fd/%1").arg(fd);
    synced.append(QFileInfo(link).symLinkTarget());
    return int(::syscall(SYS_fsync, fd));
}

TEST(DiskWaits, SavedSettingsAreSyncedFileThenFolder) {
    TempProgramFolder home;
    const QString folder = QFileInfo(home.path()).canonicalFilePath();
    INI ini;
    ScriptedMessenger messenger;
    synced.clear();
    ASSERT_TRUE(SaveSettings(Settings(), ini, home.path(), messenger));
    EXPECT_EQ(synced.join('\n'), SyncsOfAWrite(folder + "/options.ini"));
}

TEST(DiskWaits, OfADownloadOnlyTheCompleteIssuesIndexIsSynced) {
    E2ERun run;
    ASSERT_TRUE(run.ready());
    run.app.settings.UseCashe = true;
    synced.clear();
    run.Download(NewspaperSource);
    ASSERT_EQ(run.controller.Stat, "Номер загружен");
    const QString folder = QFileInfo(run.folder()).canonicalFilePath();
    EXPECT_EQ(synced.join('\n'), SyncsOfAWrite(folder + "/index.htm"));

    // A picture that fails leaves the issue incomplete: nothing waits.
    E2ERun incomplete({"--fault", "newspaper:^/upimg/*=404:1"});
    ASSERT_TRUE(incomplete.ready());
    incomplete.app.settings.IgnoreErrors = true;
    synced.clear();
    incomplete.Download(NewspaperSource);
    EXPECT_TRUE(QFile::exists(incomplete.folder() + "/index.htm"));
    EXPECT_EQ(synced.join('\n'), "");
}
