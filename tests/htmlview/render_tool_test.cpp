// norvel-render, the real program, on pages of a downloaded demo issue: one
// line per text run, in the width asked for, none over another with the
// fonts of the offscreen platform, and a picture of the whole page.
#include "demo_issues.h"

#include "tests/support/program_run.h"
#include "tests/support/temp_program_folder.h"

#include <QDir>
#include <QImage>
#include <QRect>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace htmlview::test {
namespace {

struct ToolRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// The tool picks the offscreen platform itself.
ToolRun RunTool(const QStringList& arguments) {
    ProgramStart start({}, arguments);
    start.program = TempProgramFolder::binDir() + "/norvel-render";
    const ProgramRun run = RunProgram(start);
    if (!run.finished)
        return {};
    return {run.exitCode, QString::fromUtf8(run.output), run.errorText()};
}

struct PrintedRun {
    QRect box;
    QString text;
};

// "x y width height text" lines; a line that does not read so fails the test.
QList<PrintedRun> ParseRuns(const QString& out) {
    QList<PrintedRun> runs;
    for (const QString& line : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList parts = line.split(QLatin1Char(' '));
        bool ok[4] = {false, false, false, false};
        int value[4] = {};
        for (int i = 0; i < 4 && i < parts.size(); ++i)
            value[i] = parts[i].toInt(&ok[i]);
        EXPECT_TRUE(parts.size() >= 5 && ok[0] && ok[1] && ok[2] && ok[3]) << line.toStdString();
        runs.append(
            {QRect(value[0], value[1], value[2], value[3]), line.section(QLatin1Char(' '), 4)});
    }
    return runs;
}

QString ArticlePage() {
    const QString archive = DownloadedDemoIssues();
    if (archive.isEmpty())
        return {};
    for (const QString& folder : QDir(archive).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (!folder.endsWith(QStringLiteral(".KT")))
            return archive + QLatin1Char('/') + folder + QStringLiteral("/page1.html");
    }
    return {};
}

TEST(RenderTool, PrintsTheRunsOfAnArticleAtTheWidthAndPaintsIt) {
    const QString page = ArticlePage();
    ASSERT_FALSE(page.isEmpty()) << "the demo issue was not downloaded";
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("page.png"));
    const ToolRun run = RunTool(
        {QStringLiteral("--width"), QStringLiteral("400"), QStringLiteral("--png"), png, page});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QList<PrintedRun> runs = ParseRuns(run.out);
    ASSERT_GT(runs.size(), 100);
    int bottom = 0;
    for (qsizetype i = 0; i < runs.size(); ++i) {
        const PrintedRun& a = runs[i];
        EXPECT_GE(a.box.left(), 0) << a.text.toStdString();
        EXPECT_LE(a.box.x() + a.box.width(), 400) << a.text.toStdString();
        bottom = std::max(bottom, a.box.y() + a.box.height());
        for (qsizetype j = i + 1; j < runs.size(); ++j)
            EXPECT_FALSE(a.box.intersects(runs[j].box))
                << a.text.toStdString() << " and " << runs[j].text.toStdString();
    }
    EXPECT_TRUE(run.out.contains(QString::fromUtf8("Номер")));
    const QImage picture(png);
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.width(), 400);
    EXPECT_GE(picture.height(), bottom);
}

TEST(RenderTool, LaysOutAtSixHundredPixelsByDefault) {
    const QString page = ArticlePage();
    ASSERT_FALSE(page.isEmpty()) << "the demo issue was not downloaded";
    const ToolRun run = RunTool({page});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    int right = 0;
    for (const PrintedRun& r : ParseRuns(run.out))
        right = std::max(right, r.box.x() + r.box.width());
    EXPECT_GT(right, 400);
    EXPECT_LE(right, 600);
}

TEST(RenderTool, SaysWhatIsWrongWithItsArguments) {
    const ToolRun missing = RunTool({QStringLiteral("/nonexistent/page.html")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("/nonexistent/page.html")))
        << missing.err.toStdString();
    EXPECT_TRUE(missing.out.isEmpty());
    const ToolRun badWidth =
        RunTool({QStringLiteral("--width"), QStringLiteral("wide"), QStringLiteral("page.html")});
    EXPECT_EQ(badWidth.exitCode, 2);
    EXPECT_TRUE(badWidth.err.contains(QStringLiteral("width"))) << badWidth.err.toStdString();
    EXPECT_EQ(RunTool({}).exitCode, 2);
}

} // namespace
} // namespace htmlview::test
