// Where the program folder is, and the user's copy of an installation's
// data/: made on first start, refreshed from a newer installation, the
// user's own edits kept.
#include "settings/installed_data.h"
#include "settings/program_folder.h"
#include "settings/whole_file.h"
#include "tests/support/temp_program_folder.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

TEST(ProgramFolderRule, HomeThenAWritablePortableFolderThenTheUsersDataFolder) {
    TempProgramFolder base(false);
    const QString portable = base.file("portable");
    QDir().mkpath(portable + "/data");
    const QString installed = base.file("usr/bin");
    QDir().mkpath(installed);
    const QString userData = base.file("home/.local/share");

    ProgramFolderPlace place = LocateProgramFolder(base.file("home/x/"), portable, true, userData);
    EXPECT_EQ(place.folder, base.file("home/x"));
    EXPECT_TRUE(place.installedData.isEmpty());

    place = LocateProgramFolder({}, portable, true, userData);
    EXPECT_EQ(place.folder, portable) << "a portable copy keeps working unchanged";
    EXPECT_TRUE(place.installedData.isEmpty());

    place = LocateProgramFolder({}, portable, false, userData);
    EXPECT_EQ(place.folder, userData + "/norvel") << "read-only: the user's folder";
    EXPECT_EQ(place.installedData, portable + "/data");

    place = LocateProgramFolder({}, installed, true, userData);
    EXPECT_EQ(place.folder, userData + "/norvel") << "a bin folder without data/";
    EXPECT_EQ(place.installedData, base.file("usr/share/norvel2/data"));
}

class UserDataCopy : public ::testing::Test {
protected:
    TempProgramFolder base{false};
    QString installed = base.file("share/norvel2/data");
    QString home = base.file("user/norvel");

    void install(const QString& name, const ByteText& bytes) {
        base.write("share/norvel2/data/" + name, bytes);
    }
    ByteText copy(const QString& name) const {
        return ReadWholeFile(home + "/data/" + name).value_or("<missing>");
    }
};

TEST_F(UserDataCopy, FirstStartCopiesEverything) {
    install("script.txt", "rules 1");
    install("kp.css", "css 1");
    ASSERT_TRUE(SyncInstalledData(installed, home));
    EXPECT_EQ(copy("script.txt"), "rules 1");
    EXPECT_EQ(copy("kp.css"), "css 1");
}

TEST_F(UserDataCopy, ANewerInstallationRefreshesUntouchedCopiesOnly) {
    install("script.txt", "rules 1");
    install("kp.css", "css 1");
    install("index.dat", "template 1");
    ASSERT_TRUE(SyncInstalledData(installed, home));
    ASSERT_TRUE(WriteWholeFile(home + "/data/script.txt", "my rules"));
    ASSERT_TRUE(WriteWholeFile(home + "/data/kp.css", "css 1 at 14px"));

    install("script.txt", "rules 2");
    install("kp.css", "css 2");
    install("index.dat", "template 2");
    install("wserror.dat", "new file");
    ASSERT_TRUE(SyncInstalledData(installed, home));
    EXPECT_EQ(copy("script.txt"), "my rules") << "the user's script stays";
    EXPECT_EQ(copy("kp.css"), "css 1 at 14px") << "so does a stylesheet at another size";
    EXPECT_EQ(copy("index.dat"), "template 2");
    EXPECT_EQ(copy("wserror.dat"), "new file");

    // Deleted by the user: copied again.
    QFile::remove(home + "/data/script.txt");
    ASSERT_TRUE(SyncInstalledData(installed, home));
    EXPECT_EQ(copy("script.txt"), "rules 2");
}

TEST_F(UserDataCopy, AFolderMadeBeforeTheRecordKeepsItsFiles) {
    base.write("user/norvel/data/index.dat", "hand-made");
    install("index.dat", "template 1");
    ASSERT_TRUE(SyncInstalledData(installed, home));
    EXPECT_EQ(copy("index.dat"), "hand-made");
}

} // namespace
