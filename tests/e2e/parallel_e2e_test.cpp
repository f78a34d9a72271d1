// Several fetches at once, on the real program started unattended against a
// demo site that behaves as over a link with a round trip: six connections
// give exactly what one gives, and never more connections than asked.
#include "tests/support/demo_site.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_program_folder.h"

#include <QDirIterator>
#include <QMap>
#include <gtest/gtest.h>

namespace {

// Every file under folder, hidden ones too, by its path inside it.
QMap<QString, ByteText> FilesUnder(const QString& folder) {
    QMap<QString, ByteText> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(folder).relativeFilePath(path), ReadFileBytes(path));
    }
    return files;
}

// The cache's entries by the address each holds, whatever number it got.
QMap<ByteText, ByteText> CacheEntries(const TempProgramFolder& home) {
    QMap<ByteText, ByteText> entries;
    for (ByteText line : home.read("cashe/!Cashe.dat").split('\n')) {
        line = line.trimmed();
        const qsizetype equals = line.indexOf('=');
        if (!line.startsWith("cashe") || equals < 0 || !line.mid(equals + 1).startsWith("http"))
            continue;
        entries.insert(line.mid(equals + 1),
                       home.read("cashe/" + QString::fromLatin1(line.left(equals)) + ".tmp"));
    }
    return entries;
}

} // namespace

TEST(ParallelDownload, SixConnectionsGiveWhatOneGivesAndNeverMore) {
    DemoSite site({"--latency", "5"});
    ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
    QMap<int, QMap<QString, ByteText>> issue;
    QMap<int, QMap<ByteText, ByteText>> cache;
    QMap<int, ByteText> summary;
    for (const int connections : {1, 6}) {
        SCOPED_TRACE(connections);
        TempProgramFolder home;
        site.installInto(home.path());
        WriteOptions(home.path(), [connections](Settings& s) {
            s.Connections = int16_t(connections);
            s.ClearCasheDown = false;
        });
        const ProgramRun run = RunProgram(home.path(), "-kp");
        ASSERT_TRUE(run.finished);
        ASSERT_EQ(run.exitCode, 0) << run.output.constData();
        issue[connections] = FilesUnder(OnlyIssueFolder(home.path()));
        cache[connections] = CacheEntries(home);
        summary[connections] = ByteText(run.output).replace(QFile::encodeName(home.path()), "HOME");
        EXPECT_LE(site.peakConnections(), connections);
    }
    EXPECT_EQ(site.peakConnections(), 6) << "six fetches did run at once";
    EXPECT_EQ(issue[1].keys(), issue[6].keys());
    EXPECT_TRUE(issue[1] == issue[6]) << "every file the same, byte for byte";
    EXPECT_GE(cache[1].size(), 48);
    EXPECT_TRUE(cache[1] == cache[6]);
    EXPECT_EQ(summary[1], summary[6]);
}
