// The installation: what `cmake --install` lays out (a stripped program, the
// icons, a valid menu entry, software-centre description and manual pages),
// and the installed program run from a prefix it cannot write, keeping its
// files in the user's data folder.
#include "app/start_up.h"
#include "settings/whole_file.h"
#include "tests/support/demo_site.h"
#include "tests/support/program_run.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

struct Tool {
    bool found = false;
    int exitCode = -1;
    QByteArray out, err;
};

Tool RunTool(const QString& name, const QStringList& arguments,
             const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    Tool tool;
    const QString path = QStandardPaths::findExecutable(name);
    if (path.isEmpty())
        return tool;
    tool.found = true;
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(path, arguments);
    process.waitForFinished(120'000);
    tool.exitCode = process.exitCode();
    tool.out = process.readAllStandardOutput();
    tool.err = process.readAllStandardError();
    return tool;
}

// A scratch prefix with the build installed into it.
class Installed : public ::testing::Test {
protected:
    QTemporaryDir scratch;
    QString prefix = scratch.filePath("prefix");

    void SetUp() override {
        const Tool install =
            RunTool(NORVEL_CMAKE, {"--install", NORVEL_BUILD_DIR, "--prefix", prefix});
        ASSERT_EQ(install.exitCode, 0) << install.out.data() << install.err.data();
    }
    QString file(const QString& relative) const { return prefix + "/" + relative; }
};

TEST_F(Installed, StrippedProgramsWithTheirDataAndIconsOfEverySize) {
    // norvel2 hands what it does not run itself to norvel2-gui beside it.
    for (const QString name : {"bin/norvel2", "bin/norvel2-gui"}) {
        const std::optional<ByteText> program = ReadWholeFile(file(name));
        ASSERT_TRUE(program && program->startsWith("\x7f"
                                                   "ELF"))
            << name.toStdString();
        EXPECT_TRUE(QFileInfo(file(name)).isExecutable()) << name.toStdString();
        EXPECT_FALSE(program->contains(".debug_info")) << "no debug information";
        EXPECT_FALSE(program->contains(".symtab")) << "no symbol table";
    }
    EXPECT_EQ(QDir(file("share/norvel2/data")).entryList(QDir::Files).size(), 9);

    const ByteText svg =
        ReadWholeFile(file("share/icons/hicolor/scalable/apps/norvel2.svg")).value_or("");
    EXPECT_TRUE(svg.contains("<svg") && svg.contains("viewBox=\"0 0 64 64\""));
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QImage icon(file(QString("share/icons/hicolor/%1x%1/apps/norvel2.png").arg(size)));
        EXPECT_EQ(icon.size(), QSize(size, size)) << size;
    }
}

// A manual page as man shows it in a locale, with its typographic dashes
// made plain so switches read as typed.
Tool ManualPage(const QString& page, const QString& locale) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("LANGUAGE");
    env.insert("LC_ALL", locale);
    env.insert("MANWIDTH", "80");
    env.insert("MANPAGER", "cat");
    Tool manual = RunTool("man", {"--warnings", "-l", page}, env);
    manual.out = QString::fromUtf8(manual.out)
                     .replace(QChar(0x2212), '-')
                     .replace(QChar(0x2010), '-')
                     .toUtf8();
    return manual;
}

bool LocaleInstalled(const QString& name) {
    return RunTool("locale", {"-a"}).out.contains(name.toLatin1());
}

TEST_F(Installed, TheMenuEntryDescriptionAndManualPagesValidate) {
    const Tool desktop =
        RunTool("desktop-file-validate", {file("share/applications/norvel2.desktop")});
    const Tool metainfo =
        RunTool("appstreamcli",
                {"validate", "--no-net", file("share/metainfo/ru.norvel.norvel2.metainfo.xml")});
    // The English page reads cleanly where Cyrillic cannot be shown; the
    // Russian one where it can.
    const Tool english = ManualPage(file("share/man/man1/norvel2.1.gz"), "C");
    const Tool russian = ManualPage(file("share/man/ru/man1/norvel2.1.gz"), "ru_RU.UTF-8");
    if (!desktop.found || !metainfo.found || !english.found || !LocaleInstalled("ru_RU.utf8"))
        GTEST_SKIP() << "desktop-file-validate, appstreamcli, man or the ru_RU.UTF-8 locale "
                        "missing (scripts/bootstrap)";
    EXPECT_EQ(desktop.exitCode, 0) << desktop.out.data() << desktop.err.data();
    EXPECT_EQ(metainfo.exitCode, 0) << metainfo.out.data() << metainfo.err.data();
    for (const Tool* manual : {&english, &russian}) {
        EXPECT_EQ(manual->exitCode, 0);
        EXPECT_TRUE(manual->err.isEmpty()) << manual->err.data();
        for (const CommandSwitch& option : CommandSwitches())
            EXPECT_TRUE(manual->out.contains(option.name.toLatin1())) << option.name.toStdString();
        for (const char* part :
             {"norvel2-kp.timer", "~/.local/share/norvel", "NORVEL_HOME", "norvel.log", ".epub"})
            EXPECT_TRUE(manual->out.contains(part)) << part;
    }
    for (const char* part : {"EXIT STATUS", "FILES", "ENVIRONMENT", "SCHEDULING"})
        EXPECT_TRUE(english.out.contains(part)) << part;
    EXPECT_TRUE(QString::fromUtf8(russian.out).contains(QString::fromUtf8("КОД ЗАВЕРШЕНИЯ")));
}

// Makes folder read-only for everyone, root included: a read-only bind
// mount of it onto itself. Undone when the object goes.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString& folder) : path_(QFile::encodeName(folder)) {
        if (::mount(path_.constData(), path_.constData(), nullptr, MS_BIND, nullptr) != 0)
            return;
        mounted_ = true;
        readOnly_ = ::mount(nullptr, path_.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY,
                            nullptr) == 0;
    }
    ~ReadOnlyFolder() {
        if (mounted_)
            ::umount2(path_.constData(), MNT_DETACH);
    }
    bool readOnly() const { return readOnly_; }

private:
    QByteArray path_;
    bool mounted_ = false, readOnly_ = false;
};

// Runs the installed program as a new account's first start does: an
// environment holding nothing but HOME and PATH (as a login or the user's
// systemd gives), and no network at all (a network namespace of its own), so
// the compiled-in hosts are never asked. Empty when this machine cannot make
// such a namespace.
QStringList NewAccountWrapper(const QString& home, const QStringList& more = {}) {
    for (const QStringList& unshare :
         {QStringList{"unshare", "-n"}, QStringList{"unshare", "-rn"}}) {
        QProcess probe;
        probe.start(unshare.first(), unshare.mid(1) + QStringList{"true"});
        if (probe.waitForFinished(10'000) && probe.exitStatus() == QProcess::NormalExit &&
            probe.exitCode() == 0)
            return QStringList{"env", "-i", "HOME=" + home, "PATH=/usr/bin:/bin"} + more + unshare;
    }
    return {};
}

// The command line of an installed systemd unit: its ExecStart= taken apart.
QStringList ExecStartOf(const QString& unitFile) {
    const ByteText unit = ReadWholeFile(unitFile).value_or("");
    for (const ByteText& line : unit.split('\n'))
        if (line.startsWith("ExecStart="))
            return QString::fromUtf8(line.mid(10)).split(' ', Qt::SkipEmptyParts);
    return {};
}

TEST_F(Installed, ANewAccountsFirstStartMakesItsFolderFromEveryEntryPoint) {
    // The program, the window program, and the daily unit's command line;
    // each in a HOME with nothing under it.
    const QStringList unit = ExecStartOf(file("share/systemd/user/norvel2-kp.service"));
    ASSERT_EQ(unit, QStringList({file("bin/norvel2"), "-kp"}));
    const struct {
        const char* name;
        QStringList command, environment;
    } starts[] = {{"norvel2", {file("bin/norvel2"), "-kp"}, {}},
                  {"norvel2-gui", {file("bin/norvel2-gui"), "-kp"}, {"QT_QPA_PLATFORM=offscreen"}},
                  {"norvel2-kp.service", unit, {}}};
    for (const auto& entry : starts) {
        const QString home = scratch.filePath(QString("home-") + entry.name);
        const QStringList wrapper = NewAccountWrapper(home, entry.environment);
        if (wrapper.isEmpty())
            GTEST_SKIP() << "no network namespace here (unshare -n or -rn)";
        ASSERT_FALSE(QFileInfo::exists(home));
        ProgramStart start({}, entry.command.mid(1));
        start.program = entry.command.first();
        start.wrapper = wrapper;
        const ProgramRun run = RunProgram(start, 120'000);
        ASSERT_TRUE(run.finished) << entry.name;
        // No site could be reached: a failed run, not one that could not start.
        EXPECT_EQ(run.exitCode, 1) << entry.name << ": " << run.errors.data();
        EXPECT_FALSE(run.errorText().contains(QString::fromUtf8("Нет доступа"))) << entry.name;
        const QString folder = home + "/.local/share/norvel";
        EXPECT_EQ(QDir(folder + "/data").entryList(QDir::Files).size(), 9) << entry.name;
        EXPECT_TRUE(QFileInfo(folder + "/options.ini").isFile()) << entry.name;
    }
}

TEST_F(Installed, FromAReadOnlyPrefixTheProgramDownloadsIntoTheUsersDataFolder) {
    ReadOnlyFolder readOnly(prefix);
    if (!readOnly.readOnly())
        GTEST_SKIP() << "no read-only bind mount here (needs the right to mount)";
    ASSERT_NE(::access(QFile::encodeName(file("bin")).constData(), W_OK), 0);

    // The first start makes the user's folder; the demo site's hosts then go
    // into it, as a user would point the program at another site.
    const QString newHome = scratch.filePath("home");
    const QString home = newHome + "/.local/share/norvel";
    ProgramStart first({}, {"-kp"});
    first.program = file("bin/norvel2");
    first.wrapper = NewAccountWrapper(newHome);
    if (first.wrapper.isEmpty())
        GTEST_SKIP() << "no network namespace here (unshare -n or -rn)";
    ASSERT_TRUE(RunProgram(first, 120'000).finished);
    DemoSite site;
    ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
    ASSERT_TRUE(site.installInto(home));
    // No NORVEL_HOME: the installed program finds its folder itself.
    ProgramStart start({}, {"-kp"}, {"HOME=" + newHome, "XDG_DATA_HOME="});
    start.program = file("bin/norvel2");
    const ProgramRun run = RunProgram(start, 120'000);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0) << run.errors.data();

    EXPECT_EQ(QDir(home + "/data").entryList(QDir::Files).size(), 9) << "data/ copied";
    EXPECT_TRUE(QFileInfo(home + "/options.ini").isFile());
    const QStringList issues =
        QDir(home + "/Download").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(issues.size(), 1);
    const QString issue = home + "/Download/" + issues.first();
    EXPECT_TRUE(QFileInfo(issue + "/index.htm").isFile());
    EXPECT_TRUE(
        ReadWholeFile(issue + "/page1.html").value_or("").contains("<a href=\"index.htm\">"));
}

// The Debian package, unpacked as dpkg lays it out, serves a new user: the
// first start makes the user's folder, pointed here at the demo site.
TEST(Package, TheDebianPackageDownloadsTheIssueForANewUser) {
    QTemporaryDir scratch;
    const Tool cpack = RunTool(NORVEL_CPACK, {"--config", NORVEL_BUILD_DIR "/CPackConfig.cmake",
                                              "-B", scratch.filePath("out")});
    if (!cpack.found || QStandardPaths::findExecutable("dpkg-deb").isEmpty())
        GTEST_SKIP() << "cpack or dpkg-deb missing";
    ASSERT_EQ(cpack.exitCode, 0) << cpack.out.data() << cpack.err.data();
    const QStringList packages = QDir(scratch.filePath("out")).entryList({"norvel2_*_*.deb"});
    ASSERT_EQ(packages, QStringList{"norvel2_2.1.7_amd64.deb"});
    const QString package = scratch.filePath("out/" + packages.first());
    EXPECT_TRUE(RunTool("dpkg-deb", {"-f", package, "Depends"}).out.contains("libqt6core6"));
    const QString root = scratch.filePath("root");
    ASSERT_EQ(RunTool("dpkg-deb", {"-x", package, root}).exitCode, 0);

    const QString newHome = scratch.filePath("home");
    const QString folder = newHome + "/.local/share/norvel";
    DemoSite site;
    ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
    ASSERT_TRUE(QDir().mkpath(folder) && site.installInto(folder));
    ProgramStart start({}, {"-kp"}, {"HOME=" + newHome, "XDG_DATA_HOME="});
    start.program = root + "/usr/bin/norvel2";
    const ProgramRun run = RunProgram(start, 120'000);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0) << run.errors.data();
    EXPECT_EQ(QDir(folder + "/data").entryList(QDir::Files).size(), 9) << "data/ copied";
    EXPECT_EQ(QDir(folder + "/Download").entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 1);
}

} // namespace
