// Issue folder names for every format and the copy-out variants.
#include "archive/issue_folder.h"
#include "processing/safe_file_name.h"
#include "tests/support/scripted_messenger.h"
#include "tests/support/small_file_system.h"
#include "tests/support/temp_program_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

TEST(IssueFolder, NamesByFormatAndSource) {
    EXPECT_EQ(IssueFolderName(1, "23613", "07.12.2005", 1), "23613");
    EXPECT_EQ(IssueFolderName(2, "23613", "07.12.2005", 1), "07.12.2005");
    EXPECT_EQ(IssueFolderName(3, "23613", "07.12.2005", 1), "2005.12.07");
    EXPECT_EQ(IssueFolderName(3, "575", "07.12.2005", 2), "2005.12.07.KT");
    EXPECT_EQ(IssueFolderName(1, "575", "07.12.2005", 2), "575.KT");
    EXPECT_EQ(IssueFolderName(0, "23613", "07.12.2005", 1), "");
    EXPECT_EQ(IssueFolderName(3, "1", "7.12.2005", 1), "200512.27.") << "short dates stay short";
}

TEST(IssueFolder, NamesFromPageTextNeverLeaveTheArchive) {
    EXPECT_EQ(IssueFolderName(1, "..", "", 1), "__");
    EXPECT_EQ(IssueFolderName(1, "../../etc", "", 1), ".._.._etc");
    EXPECT_EQ(IssueFolderName(2, "", "1\\2/3\t", 2), "1_2_3_.KT");
    EXPECT_EQ(ImageFileName("/upimg/2005/photo.jpg"), "photo.jpg");
    EXPECT_EQ(ImageFileName("/upimg/a\\..\\..\\x.gif"), "a_.._.._x.gif");
    EXPECT_EQ(ImageFileName("/upimg/.."), "__");
    EXPECT_EQ(ImageFileName("/upimg/"), "_");
    EXPECT_EQ(ImageFileName("noslash.png"), "noslash.png");
    EXPECT_EQ(CoverFileName("575", "/upload/covers/575.jpg"), "575.jpg");
    EXPECT_EQ(CoverFileName("../5", "/upload/c.png"), ".._5.png");
    EXPECT_EQ(SafeFileName(W("Рис. 1\x01")), W("Рис. 1_"));
}

TEST(IssueFolder, ASitePictureNeverTakesTheNameOfAnIndexPicture) {
    EXPECT_EQ(ImageFileName("/upimg/1/t-01.gif"), "site-t-01.gif");
    EXPECT_EQ(ImageFileName("/upload/cover.jpg"), "site-cover.jpg");
    EXPECT_EQ(ImageFileName("/upimg/1/T-01.gif"), "T-01.gif") << "names tell case apart here";
    EXPECT_EQ(ImageFileName("/upimg/1/at-01.gif"), "at-01.gif");

    ByteText page = "<img src=\"img/t-01.gif\"><img src='img/cover.jpg' alt=x>"
                    "<img src=img/ktlogo.gif><a href=\"/upimg/t-01.gif\">"
                    "<img src=\"img/t-01.gif.png\"><img src=\"img/xt-02.gif\">";
    LinkSitePicturesApart(page);
    EXPECT_EQ(page, "<img src=\"img/site-t-01.gif\"><img src='img/site-cover.jpg' alt=x>"
                    "<img src=img/site-ktlogo.gif><a href=\"/upimg/t-01.gif\">"
                    "<img src=\"img/t-01.gif.png\"><img src=\"img/xt-02.gif\">");
}

TEST(IssueFolder, ALongPictureNameIsCutToFitAndItsLinksFollow) {
    const ByteText first = ByteText(300, 'a') + "1.jpg", second = ByteText(300, 'a') + "2.jpg";
    const ByteText cyrillic = ByteText(130, '\xE6') + ".gif"; // 260 bytes in UTF-8
    const ByteText one = ImageFileName("/upimg/" + first), two = ImageFileName("/upimg/" + second);
    for (const ByteText& name : {one, two, ImageFileName("/upimg/" + cyrillic)}) {
        EXPECT_LE(FileNameOf(name).toUtf8().size(), LongestPictureName);
        EXPECT_GE(FileNameOf(name).toUtf8().size(), LongestPictureName - 2) << "no more cut";
    }
    EXPECT_TRUE(one.endsWith(".jpg") && one.startsWith("aaaa"));
    EXPECT_NE(one, two) << "the same start stays apart";
    const ByteText another = ByteText(200, 'b') + ".png";
    EXPECT_EQ(ImageFileName("/upimg/" + ByteText(196, 'b') + ".png"), ByteText(196, 'b') + ".png");

    ByteText page = "<img src=\"img/" + first + "\"><img src=\"img/" + another + "\">" +
                    "<a href=\"img/" + first + "x\">";
    LinkShortenedPictures(page, {"/upimg/" + first, "/upimg/" + another});
    EXPECT_EQ(page, "<img src=\"img/" + one + "\"><img src=\"img/" + ImageFileName("/" + another) +
                        "\"><a href=\"img/" + first + "x\">");
}

TEST(IssueFolder, CreateFolderMakesOneFolderPerIssueAndKeepsOldFiles) {
    TempProgramFolder home(false);
    const QString folder = CreateFolder(home.path(), 1, "23613", "07.12.2005", 1);
    EXPECT_EQ(folder, home.file("Download/23613"));
    EXPECT_TRUE(QFileInfo(folder).isDir());
    home.write("Download/23613/page9.html", "old");
    EXPECT_EQ(CreateFolder(home.path(), 1, "23613", "07.12.2005", 1), folder);
    EXPECT_EQ(home.read("Download/23613/page9.html"), "old");
    EXPECT_EQ(CreateFolder(home.path(), 3, "575", "07.12.2005", 2),
              home.file("Download/2005.12.07.KT"));
    EXPECT_EQ(CreateFolder(home.path(), 7, "1", "07.12.2005", 1), home.file("Download"));
}

namespace {

struct CopyOut {
    TempProgramFolder home;
    ScriptedMessenger messenger;
    Settings settings;
    QString issue;

    CopyOut() {
        settings.FolderToCopy = home.file("target");
        QDir().mkpath(settings.FolderToCopy);
        issue = makeIssue("2005.12.07", "23613", "a.jpg");
    }
    QString makeIssue(const QString& name, const ByteText& number, const QString& image) {
        const QString base = "Download/" + name;
        home.write(base + "/index.htm",
                   "<div class=\"date\">" + W("7 декабря 2005") + " (" + number + ")</div>");
        home.write(base + "/page1.html", "page1 of " + number);
        home.write(base + "/kp.css", "css");
        home.write(base + "/img/" + image, "img of " + number);
        return home.file(base);
    }
    bool copy(const QString& from) {
        QStringList status;
        const bool ok = NumberCopy(from, settings, home.path(), messenger,
                                   [&](const QString& s) { status << s; });
        EXPECT_EQ(status, QStringList{"Копирование загруженного номера..."});
        return ok;
    }
    bool has(const QString& relative) const { return QFileInfo::exists(home.file(relative)); }
};

} // namespace

TEST(NumberCopy, WithoutSubfoldersIssuesShareTheTargetAndTheirPictures) {
    CopyOut c;
    const QString second = c.makeIssue("2005.12.08", "23614", "b.jpg");
    ASSERT_TRUE(c.copy(c.issue));
    ASSERT_TRUE(c.copy(second));
    EXPECT_EQ(c.home.read("target/page1.html"), "page1 of 23614");
    EXPECT_TRUE(c.has("target/img/a.jpg"));
    EXPECT_TRUE(c.has("target/img/b.jpg"));
    // The issue's index.htm and the main index are the same file: the main
    // index, which lists the folder's subfolders (img only), replaces it.
    EXPECT_FALSE(c.home.read("target/index.htm").contains("23614"));
    EXPECT_TRUE(c.messenger.shown().isEmpty());
}

TEST(NumberCopy, WithSubfoldersEachIssueKeepsItsFolderName) {
    CopyOut c;
    c.settings.CreateSubFolders = true;
    const QString magazine = c.makeIssue("2005.12.07.KT", "575", "cover.jpg");
    ASSERT_TRUE(c.copy(c.issue));
    ASSERT_TRUE(c.copy(magazine));
    EXPECT_EQ(c.home.read("target/2005.12.07/img/a.jpg"), "img of 23613");
    EXPECT_TRUE(c.has("target/2005.12.07.KT/index.htm"));
    const ByteText main = c.home.read("target/index.htm");
    EXPECT_TRUE(main.contains("<a href=\"2005.12.07/index.htm\" class=\"b\">"));
    EXPECT_TRUE(main.contains("<a href=\"2005.12.07.KT/index.htm\" class=\"b\">"));
}

TEST(NumberCopy, ClearingAnEmptyTargetIsNoError) {
    CopyOut c;
    c.settings.ClearFolderToCopy = true;
    c.settings.CreateSubFolders = true;
    ASSERT_TRUE(c.copy(c.issue));
    EXPECT_TRUE(c.has("target/2005.12.07/page1.html"));
    EXPECT_TRUE(c.messenger.shown().isEmpty());
}

TEST(NumberCopy, ClearingRemovesEverythingReadOnlyIncluded) {
    CopyOut c;
    c.settings.ClearFolderToCopy = true;
    c.settings.CreateSubFolders = true;
    c.home.write("target/old.txt", "x");
    c.home.write("target/old/deep/file.txt", "x");
    QFile::setPermissions(c.home.file("target/old.txt"), QFile::ReadOwner);
    QFile::setPermissions(c.home.file("target/old/deep"), QFile::ReadOwner | QFile::ExeOwner);
    ASSERT_TRUE(c.copy(c.issue));
    EXPECT_FALSE(c.has("target/old.txt"));
    EXPECT_FALSE(c.has("target/old"));
    EXPECT_TRUE(c.has("target/2005.12.07/index.htm"));
}

TEST(NumberCopy, ClearingNeverDeletesTheIssueItself) {
    CopyOut c;
    c.settings.ClearFolderToCopy = true;
    c.settings.FolderToCopy = c.home.file("Download");
    EXPECT_FALSE(c.copy(c.issue));
    EXPECT_TRUE(c.has("Download/2005.12.07/page1.html"));
    ASSERT_EQ(c.messenger.shown().size(), 1);
    EXPECT_TRUE(c.messenger.shown()[0].text.startsWith("Ошибка при копировании в директорию "));

    c.settings.FolderToCopy = c.home.path();
    EXPECT_FALSE(c.copy(c.issue)) << "nor the program folder with its archive";
    EXPECT_TRUE(c.has("Download/2005.12.07/page1.html"));
    EXPECT_TRUE(c.has("target"));
}

TEST(NumberCopy, AMissingTargetIsReportedAndNothingCopied) {
    CopyOut c;
    c.settings.FolderToCopy = c.home.file("nowhere");
    EXPECT_FALSE(c.copy(c.issue));
    ASSERT_EQ(c.messenger.shown().size(), 1);
    EXPECT_EQ(c.messenger.shown()[0].text, "Директория назначения: " + c.home.file("nowhere") +
                                               " не найдена. Операция отменена.");
    EXPECT_EQ(c.messenger.shown()[0].title, "Копирование");
    EXPECT_EQ(c.messenger.shown()[0].icon, MessageIcon::Error);
    EXPECT_FALSE(c.has("nowhere"));
}

TEST(NumberCopy, AFailedCopyIsReported) {
    CopyOut c;
    // A file where the picture folder should go: the folder cannot be made,
    // whoever runs the test.
    c.home.write("target/img", "not a folder");
    EXPECT_FALSE(c.copy(c.issue));
    ASSERT_EQ(c.messenger.shown().size(), 1);
    EXPECT_EQ(c.messenger.shown()[0].text,
              "Ошибка при копировании в директорию " + c.settings.FolderToCopy +
                  "\r\nОтсутствую права записи на сетевой ресурс, носитель защищен от записи, "
                  "либо нет места на диске. Операция отменена.");
    EXPECT_EQ(c.messenger.shown()[0].title, "Копирование");
    EXPECT_TRUE(c.has("target/page1.html")) << "what was copied before the failure stays";
}

TEST(NumberCopy, AFullTargetDiskIsReportedAndLeavesNoEmptyFiles) {
    SmallFileSystem disk;
    if (!disk.mounted())
        GTEST_SKIP() << "no small file system: " << disk.why().toStdString();
    CopyOut c;
    c.settings.FolderToCopy = disk.path();
    c.settings.CreateSubFolders = true;
    disk.fill();
    EXPECT_FALSE(c.copy(c.issue));
    ASSERT_EQ(c.messenger.shown().size(), 1);
    EXPECT_TRUE(c.messenger.shown()[0].text.startsWith("Ошибка при копировании в директорию "));
    QDir copied(disk.path() + "/2005.12.07");
    for (const QFileInfo& file : copied.entryInfoList(QDir::Files | QDir::Hidden))
        EXPECT_GT(file.size(), 0) << file.fileName().toStdString();
}

TEST(CopyFolder, MergesAndNeverCopiesIntoItself) {
    TempProgramFolder home(false);
    home.write("a/1.txt", "new");
    home.write("a/sub/2.txt", "two");
    home.write("b/1.txt", "old");
    home.write("b/only.txt", "stays");
    ASSERT_TRUE(CopyFolder(home.file("a"), home.file("b")));
    EXPECT_EQ(home.read("b/1.txt"), "new");
    EXPECT_EQ(home.read("b/sub/2.txt"), "two");
    EXPECT_EQ(home.read("b/only.txt"), "stays");
    ASSERT_TRUE(CopyFolder(home.file("a"), home.file("a/inner")));
    EXPECT_TRUE(QFileInfo::exists(home.file("a/inner/sub/2.txt")));
    EXPECT_FALSE(QFileInfo::exists(home.file("a/inner/inner")));
    EXPECT_TRUE(CopyFolder(home.file("a"), home.file("a")));
    EXPECT_EQ(home.read("a/1.txt"), "new");
}
