// Start-up before the window waits: the data-folder check with its messages,
// the command line, first start, the update clean-up and the temp folder.
#include "app/reader_commands.h"
#include "app/search_commands.h"
#include "app/start_up.h"
#include "settings/utf8_text.h"
#include "settings/version.h"
#include "tests/support/scripted_messenger.h"
#include "tests/support/temp_program_folder.h"

#include <QDir>
#include <QFile>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString CrLf = QStringLiteral("\r\n");
QString tail() {
    return U("Вы запустили неполную версию программы. Скачайте и установите последнюю доступную "
             "полную версию программы на сайте автора www.norvel.ru") +
           CrLf + CrLf + U("Продолжение работы невозможно");
}

TEST(DataFolder, AllNineFilesPresentPassesSilently) {
    TempProgramFolder folder;
    ScriptedMessenger messenger;
    EXPECT_TRUE(CheckDataFolder(folder.path(), "www.norvel.ru", messenger));
    EXPECT_TRUE(messenger.shown().isEmpty());
}

TEST(DataFolder, AMissingFolderIsAVersionError) {
    TempProgramFolder folder(false);
    ScriptedMessenger messenger;
    EXPECT_FALSE(CheckDataFolder(folder.path(), "www.norvel.ru", messenger));
    ASSERT_EQ(messenger.shown().size(), 1);
    const ShownMessage& m = messenger.shown()[0];
    EXPECT_EQ(m.text,
              U("Служебный каталог ") + folder.path() + U("/data не найден!") + CrLf + tail());
    EXPECT_EQ(m.title, U("Ошибка версии"));
    EXPECT_EQ(m.icon, MessageIcon::Error);
}

TEST(DataFolder, EveryMissingFileIsListedByFullPathInCheckOrder) {
    TempProgramFolder folder;
    for (const char* name : {"ktlogo.gif", "index.dat", "wserror.dat"})
        QFile::remove(folder.file(QString("data/") + name));
    QFile::remove(folder.file("data/t-02.gif"));
    QDir().mkpath(folder.file("data/t-02.gif")); // a folder is not the file
    ScriptedMessenger messenger;
    EXPECT_FALSE(CheckDataFolder(folder.path(), "www.norvel.ru", messenger));
    ASSERT_EQ(messenger.shown().size(), 1);
    const QString data = folder.path() + "/data";
    EXPECT_EQ(messenger.shown()[0].text,
              U("В каталоге ") + data +
                  U(" не найдены некоторые служебные файлы, необходимые для работы программы:") +
                  CrLf + CrLf + data + "/index.dat" + CrLf + data + "/t-02.gif" + CrLf + data +
                  "/wserror.dat" + CrLf + data + "/ktlogo.gif" + CrLf + CrLf + tail());
    EXPECT_EQ(messenger.shown()[0].title, U("Ошибка"));
    EXPECT_EQ(messenger.shown()[0].icon, MessageIcon::Error);
}

TEST(DataFolder, TheMagazineLogoAloneMissingStopsTheProgramAndNamesTheHomePage) {
    TempProgramFolder folder;
    QFile::remove(folder.file("data/ktlogo.gif"));
    ScriptedMessenger messenger;
    EXPECT_FALSE(CheckDataFolder(folder.path(), "127.0.0.1:8123", messenger));
    ASSERT_EQ(messenger.shown().size(), 1);
    EXPECT_TRUE(messenger.shown()[0].text.contains(folder.path() + "/data/ktlogo.gif\r\n"));
    EXPECT_TRUE(messenger.shown()[0].text.contains(U("на сайте автора 127.0.0.1:8123\r\n")));
}

TEST(CommandLine, OnlyExactSwitchesStartAnUnattendedRun) {
    EXPECT_EQ(CommandLineText({"norvel2", "-kp"}), "-kp");
    EXPECT_EQ(CommandLineText({"norvel2", "/del", "/tmp/old file"}), "/del /tmp/old file");
    EXPECT_EQ(CommandLineText({"norvel2"}), "");

    CommandLine none = ParseCommandLine("");
    EXPECT_FALSE(none.AutoNewspaper || none.AutoMagazine || none.ShowHelp ||
                 none.DeleteAfterUpdate);
    CommandLine kp = ParseCommandLine("-kp");
    EXPECT_TRUE(kp.AutoNewspaper);
    EXPECT_FALSE(kp.AutoMagazine || kp.ShowHelp);
    CommandLine kt = ParseCommandLine("-kt");
    EXPECT_TRUE(kt.AutoMagazine);
    EXPECT_FALSE(kt.AutoNewspaper || kt.ShowHelp);
    for (const char* other : {"-KP", "-kp ", " -kp", "-kt -kp", "kp", "-", "/DEL x"}) {
        CommandLine line = ParseCommandLine(other);
        EXPECT_TRUE(line.ShowHelp) << other;
        EXPECT_FALSE(line.AutoNewspaper || line.AutoMagazine || line.DeleteAfterUpdate) << other;
    }
    CommandLine del = ParseCommandLine("/del /tmp/old file");
    EXPECT_TRUE(del.DeleteAfterUpdate);
    EXPECT_EQ(del.FileToDelete, "/tmp/old file");
    EXPECT_TRUE(del.ShowHelp);
    EXPECT_FALSE(ParseCommandLine("/delete x").DeleteAfterUpdate);
}

// The help lists every switch under the program's own name, and each one it
// lists is one the program answers.
TEST(CommandLine, TheHelpListsEverySwitchTheProgramAnswers) {
    const QString help = CommandLineHelp();
    EXPECT_TRUE(help.startsWith(U("Ключи командной строки:\r\n\r\nnorvel2 -kp - загрузить "
                                  "последний номер 'Ведомира'\r\n")));
    EXPECT_TRUE(help.endsWith(U(
        "\r\n\r\nЕсли последний доступный номер был загружен ранее, программа завершит работу.")));
    EXPECT_FALSE(help.contains(".exe"));
    for (const CommandSwitch& option : CommandSwitches()) {
        SCOPED_TRACE(option.name.toStdString());
        EXPECT_TRUE(help.contains("\r\nnorvel2 " + option.name + ' '));
        QByteArray name = option.name.toLatin1();
        char* argv[] = {const_cast<char*>("norvel2"), name.data(), nullptr};
        const CommandLine line = ParseCommandLine(option.name);
        EXPECT_TRUE(line.AutoNewspaper || line.AutoMagazine ||
                    InfoSwitchOf(option.name) != InfoSwitch::None || IsReaderCommand(2, argv) ||
                    IsSearchCommand(2, argv));
    }
}

class StartUpRun : public ::testing::Test {
protected:
    TempProgramFolder folder;
    ScriptedMessenger messenger;
    AppState app;
    QString casheFolder;
    int16_t casheSize = -1;

    void SetUp() override { app.ProgramFolder = folder.path(); }
    bool run(const QString& commandLine) {
        return StartUp(app, commandLine, messenger, [this](const QString& f, int16_t size) {
            casheFolder = f;
            casheSize = size;
        });
    }
};

TEST_F(StartUpRun, FirstStartSavesTheDefaultsReadableByTheOwnerOnly) {
    EXPECT_FALSE(run(""));
    EXPECT_TRUE(messenger.shown().isEmpty());
    const QByteArray ini = folder.read("options.ini");
    EXPECT_TRUE(ini.startsWith("[Main]\r\nDownloadImages=True\r\nFolderFormat=3\r\n"));
    EXPECT_TRUE(
        ini.endsWith("CreateMainIndex=False\r\nUseIE=False\r\nBrowser=\r\nMakeEpub=False\r\n"
                     "KeepIssues=0\r\nKeepDays=0\r\n"));
    EXPECT_EQ(ini.count('='), 29);
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(folder.file("options.ini")).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(app.settings.FileScript, folder.path() + "/data/script.txt");
    EXPECT_EQ(casheFolder, folder.path() + "/cashe");
    EXPECT_EQ(casheSize, 400);
    EXPECT_EQ(app.state.TempFolder, folder.path() + "/temp");
    EXPECT_TRUE(QDir(app.state.TempFolder).exists());
}

TEST_F(StartUpRun, AnExistingFileIsLoadedNotOverwritten) {
    const ByteText own = "[Main]\r\nFolderFormat=1\r\n[Cashe]\r\nCasheSize=77\r\n"
                         "[Network]\r\nUseProxy=True\r\n";
    folder.write("options.ini", own);
    run("");
    EXPECT_EQ(casheSize, 77);
    EXPECT_TRUE(app.settings.UseProxy);
    EXPECT_FALSE(app.settings.DownloadImages); // absent keys are not defaults
    EXPECT_EQ(folder.read("options.ini"), own);
}

TEST_F(StartUpRun, SwitchesSetTheUnattendedFlagsWithoutAMessage) {
    EXPECT_TRUE(run("-kp"));
    EXPECT_TRUE(app.state.AutoNewspaper);
    EXPECT_FALSE(app.state.AutoMagazine);
    AppState other;
    other.ProgramFolder = folder.path();
    EXPECT_TRUE(StartUp(other, "-kt", messenger));
    EXPECT_TRUE(other.state.AutoMagazine);
    EXPECT_TRUE(messenger.shown().isEmpty());
}

TEST_F(StartUpRun, AnUnknownLineShowsTheHelpAndStartsNothing) {
    for (const char* line : {"-KP", "-kp "}) {
        messenger.clear();
        EXPECT_FALSE(run(line)) << line;
        EXPECT_FALSE(app.state.AutoNewspaper || app.state.AutoMagazine);
        ASSERT_EQ(messenger.shown().size(), 1);
        EXPECT_EQ(messenger.shown()[0].text, CommandLineHelp());
        EXPECT_EQ(messenger.shown()[0].title, U("Командная строка"));
        EXPECT_EQ(messenger.shown()[0].icon, MessageIcon::Information);
    }
}

TEST_F(StartUpRun, TheUpdateHandOverDeletesTheFileThenShowsTheHelp) {
    folder.write("old setup.bin", "old");
    EXPECT_FALSE(run("/del " + folder.file("old setup.bin")));
    EXPECT_FALSE(QFile::exists(folder.file("old setup.bin")));
    ASSERT_EQ(messenger.shown().size(), 2);
    EXPECT_EQ(messenger.shown()[0].text,
              U("Было произведено обновление программы до версии ") + ProgramVersion);
    EXPECT_EQ(messenger.shown()[0].title, U("Норвел: сообщение"));
    EXPECT_EQ(messenger.shown()[0].icon, MessageIcon::Information);
    EXPECT_EQ(messenger.shown()[1].title, U("Командная строка"));
}

TEST_F(StartUpRun, TheUpdateHandOverNeverDeletesAFolder) {
    folder.write("keep/inside.txt", "x");
    run("/del " + folder.file("keep"));
    EXPECT_TRUE(QFile::exists(folder.file("keep/inside.txt")));
}

TEST_F(StartUpRun, TheTempFolderIsEmptiedOfFilesButKeepsSubfolders) {
    folder.write("temp/cover1.jpg", "a");
    folder.write("temp/.hidden", "b");
    folder.write("temp/sub/deep.txt", "c");
    QFile::setPermissions(folder.file("temp/cover1.jpg"), QFile::ReadOwner);
    run("");
    QDir temp(folder.file("temp"));
    EXPECT_EQ(temp.entryList(QDir::Files | QDir::Hidden), QStringList{});
    EXPECT_TRUE(QFile::exists(folder.file("temp/sub/deep.txt")));
}

// Marks a file immutable so nobody, root included, can delete it; false
// where the file system or the rights do not allow it.
bool setImmutable(const QString& path, bool on) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}

TEST_F(StartUpRun, TheTempCleanUpGoesOnPastAFileItCannotDelete) {
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"})
        folder.write(QString("temp/") + name, "x");
    const QString stuck = folder.file("temp/b.jpg");
    if (!setImmutable(stuck, true))
        GTEST_SKIP() << "cannot make an undeletable file here";
    run("");
    const QStringList left = QDir(folder.file("temp")).entryList(QDir::Files);
    const int stayed = EmptyFolderFiles(folder.file("temp"));
    setImmutable(stuck, false);
    EXPECT_EQ(left, QStringList{"b.jpg"});
    EXPECT_EQ(stayed, 1);
}

} // namespace
