// Whole-file writes on a disk that is really full (a small tmpfs), the
// settings and stylesheet writes that report it, the leftovers of a killed
// run, and paths Windows-1251 cannot hold.
#include "settings/ini.h"
#include "settings/settings.h"
#include "settings/whole_file.h"
#include "tests/support/scripted_messenger.h"
#include "tests/support/small_file_system.h"
#include "tests/support/temp_program_folder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

const ByteText Stylesheet = "/* current CSS font-size: 11px; */\r\nbody { font-size: 11px; }\r\n";

ByteText readFile(const QString& path) {
    return ReadWholeFile(path).value_or("<missing>");
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

class FullDisk : public ::testing::Test {
protected:
    SmallFileSystem disk;
    void SetUp() override {
        if (!disk.mounted())
            GTEST_SKIP() << "no small file system: " << disk.why().toStdString();
    }
};

TEST_F(FullDisk, BothWritePathsFailAndLeaveTheOldFile) {
    const QString path = disk.path() + "/index.htm";
    ASSERT_TRUE(WriteWholeFile(path, "old page"));
    disk.fill();
    const ByteText big(64 * 1024, 'n');
    for (FileSync sync : {FileSync::WaitForDisk, FileSync::NoWait}) {
        EXPECT_FALSE(WriteWholeFile(path, big, sync));
        EXPECT_EQ(readFile(path), "old page");
        EXPECT_FALSE(WriteWholeFile(disk.path() + "/new.gif", big, sync));
        EXPECT_FALSE(QFile::exists(disk.path() + "/new.gif")) << "no empty file in its place";
        EXPECT_EQ(filesIn(disk.path()), QStringList({"filler", "index.htm"}));
    }
    EXPECT_FALSE(CopyFileOver(path, disk.path() + "/copy.htm"));
    EXPECT_FALSE(QFile::exists(disk.path() + "/copy.htm"));
    disk.free();
    EXPECT_TRUE(WriteWholeFile(path, big, FileSync::NoWait));
    EXPECT_EQ(readFile(path), big);
}

TEST_F(FullDisk, SettingsThatCannotBeSavedAreReportedAndTheOldFileStays) {
    QDir().mkpath(disk.path() + "/data");
    ASSERT_TRUE(WriteWholeFile(StylesheetPath(disk.path()), Stylesheet));
    Settings settings;
    SetDefaults(settings, disk.path());
    INI ini;
    ScriptedMessenger messenger;
    ASSERT_TRUE(SaveSettings(settings, ini, disk.path(), messenger));
    const ByteText saved = readFile(OptionsFilePath(disk.path()));
    ASSERT_TRUE(saved.contains("CSSFontSize=11"));

    disk.fill();
    settings.CSSFontSize = 14;
    EXPECT_FALSE(SaveSettings(settings, ini, disk.path(), messenger));
    EXPECT_EQ(readFile(OptionsFilePath(disk.path())), saved);
    EXPECT_EQ(readFile(StylesheetPath(disk.path())), Stylesheet);
    QStringList texts;
    for (const ShownMessage& m : messenger.shown())
        texts << m.text;
    EXPECT_EQ(texts, QStringList({FileWriteErrorText(StylesheetPath(disk.path())),
                                  FileWriteErrorText(OptionsFilePath(disk.path()))}));
    EXPECT_TRUE(texts.first().startsWith(QString::fromUtf8("Ошибка записи файла ")));
    EXPECT_EQ(settings.CSSFontSize, 14) << "the record keeps the new values";
}

TEST_F(FullDisk, AFirstStartOnAFullDiskLeavesNoEmptySettingsFile) {
    QDir().mkpath(disk.path() + "/data");
    ASSERT_TRUE(WriteWholeFile(StylesheetPath(disk.path()), Stylesheet));
    disk.fill();
    Settings settings;
    SetDefaults(settings, disk.path());
    INI ini;
    ScriptedMessenger messenger;
    EXPECT_FALSE(SaveSettings(settings, ini, disk.path(), messenger));
    EXPECT_FALSE(QFile::exists(OptionsFilePath(disk.path())));
    ASSERT_EQ(messenger.shown().size(), 1);
    EXPECT_EQ(messenger.shown().first().title, QString::fromUtf8("Ошибка"));
}

// The last step of a write, the rename, fails for real when a folder holding
// files stands where the file should go: the write says so, the folder
// stays as it was, and no hidden file is left.
TEST(WholeFile, AWriteWhoseRenameFailsIsAFailureAndTouchesNothing) {
    TempProgramFolder home(false);
    home.write("page3.html/notes.txt", "the user's notes");
    for (const FileSync sync : {FileSync::WaitForDisk, FileSync::NoWait})
        EXPECT_FALSE(WriteWholeFile(home.file("page3.html"), "a new page", sync));
    EXPECT_EQ(home.read("page3.html/notes.txt"), "the user's notes");
    EXPECT_EQ(QDir(home.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"page3.html"});
}

TEST(WholeFile, AReplacedFileKeepsItsPermissionsAndALinkKeepsPointing) {
    TempProgramFolder folder(false);
    const QString path = folder.file("script.txt");
    ASSERT_TRUE(WriteWholeFile(path, "one"));
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    ASSERT_TRUE(WriteWholeFile(path, "two"));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    ASSERT_TRUE(QFile::link(path, folder.file("link.txt")));
    ASSERT_TRUE(WriteWholeFile(folder.file("link.txt"), "three", FileSync::NoWait));
    EXPECT_TRUE(QFileInfo(folder.file("link.txt")).isSymLink());
    EXPECT_EQ(readFile(path), "three");
}

TEST(WholeFile, LeftoversOfAKilledRunGoAndTheUsersFilesStay) {
    TempProgramFolder folder(false);
    const QStringList kept = {"options.ini", "options.ini.backup", "photo.part",
                              "a.gif",       "notes.txt.QWERTY",   "index.htm"};
    const QStringList leftovers = {".a.gif.norvel-part", ".index.htm.norvel-part",
                                   "options.ini.Xb3k9Q", "a.gif.part", "index.htm.a1B2c3"};
    for (const QString& name : kept + leftovers)
        folder.write(name, "x");
    EXPECT_EQ(RemoveWriteLeftovers(folder.path()), leftovers.size());
    QStringList expected = kept;
    expected.sort();
    EXPECT_EQ(filesIn(folder.path()), expected);
}

TEST(WholeFile, AHiddenFileLeftInTheWayIsReplaced) {
    TempProgramFolder folder(false);
    const QString path = folder.file("page1.html");
    folder.write(".page1.html.norvel-part", "half a page of a killed run");
    ASSERT_EQ(PartFilePath(path), folder.file(".page1.html.norvel-part"));
    EXPECT_TRUE(WriteWholeFile(path, "page", FileSync::NoWait));
    EXPECT_EQ(readFile(path), "page");
    EXPECT_EQ(filesIn(folder.path()), QStringList{"page1.html"});
}

TEST(WholeFile, ACopyThatChangesNothingLeavesTheFileAlone) {
    TempProgramFolder folder(false);
    folder.write("t-01.gif", "picture");
    const QString copy = folder.file("img/t-01.gif");
    QDir().mkpath(folder.file("img"));
    ASSERT_TRUE(CopyFileOver(folder.file("t-01.gif"), copy));
    const FileStamp first = StampOf(copy);
    ASSERT_TRUE(CopyFileOver(folder.file("t-01.gif"), copy));
    EXPECT_EQ(StampOf(copy), first) << "the same bytes: not written again";
    folder.write("t-01.gif", "picturE");
    ASSERT_TRUE(CopyFileOver(folder.file("t-01.gif"), copy));
    EXPECT_EQ(readFile(copy), "picturE");
    EXPECT_NE(StampOf(copy).inode, first.inode);
}

TEST(WholeFile, TheHiddenFileOfAVeryLongNameStaysWithinTheNameLimit) {
    TempProgramFolder folder(false);
    const QString name = QString(250, QChar(0x0436)).left(120); // 240 bytes in UTF-8
    const QString path = folder.file(name);
    EXPECT_LE(QFile::encodeName(QFileInfo(PartFilePath(path)).fileName()).size(), 255);
    EXPECT_TRUE(WriteWholeFile(path, "picture", FileSync::NoWait));
    EXPECT_EQ(filesIn(folder.path()), QStringList({name}));
}

TEST(SettingsPaths, APathOutsideWindows1251ReadsBackTheSame) {
    TempProgramFolder base(false);
    const QString home = base.file(QString::fromUtf8("Zażółć"));
    QDir().mkpath(home + "/data");
    ASSERT_TRUE(WriteWholeFile(StylesheetPath(home), Stylesheet));
    Settings settings;
    SetDefaults(settings, home);
    settings.FolderToCopy = base.file(QString::fromUtf8("kopia-ąę"));
    INI ini;
    ScriptedMessenger messenger;
    ASSERT_TRUE(SaveSettings(settings, ini, home, messenger));
    const ByteText file = ReadWholeFile(OptionsFilePath(home)).value_or("");
    EXPECT_TRUE(file.contains("FileScript=data/script.txt\r\n")) << file.toStdString();
    EXPECT_FALSE(file.contains('?'));

    Settings loaded;
    LoadSettings(loaded, ini, home, messenger);
    EXPECT_EQ(loaded.FileScript, home + "/data/script.txt");
    EXPECT_EQ(loaded.FolderToCopy, settings.FolderToCopy);

    // A name inside the folder that the code page cannot hold either.
    settings.FileScript = home + QString::fromUtf8("/data/skrypt-ąę.txt");
    ASSERT_TRUE(SaveSettings(settings, ini, home, messenger));
    LoadSettings(loaded, ini, home, messenger);
    EXPECT_EQ(loaded.FileScript, settings.FileScript);

    // A path the code page holds is written as it always was.
    settings.FolderToCopy = QString::fromUtf8("/media/флешка");
    ASSERT_TRUE(SaveSettings(settings, ini, home, messenger));
    EXPECT_TRUE(ReadWholeFile(OptionsFilePath(home))
                    .value_or("")
                    .contains("FolderToCopy=" + cp1251::fromUnicode(settings.FolderToCopy)));
    LoadSettings(loaded, ini, home, messenger);
    EXPECT_EQ(loaded.FolderToCopy, settings.FolderToCopy);
}

} // namespace
