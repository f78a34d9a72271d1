// norvel-screenshots run as the user runs it: every window, each also at
// scale 2 and 1.5 and in a dark palette, none squeezing a text it shows;
// and its options.
#include "tests/support/temp_program_folder.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QProcess* RunTool(QProcess& program, const QStringList& arguments, const QString& folder) {
    program.setWorkingDirectory(folder);
    program.start(TempProgramFolder::binDir() + "/norvel-screenshots", arguments);
    return program.waitForFinished(240'000) ? &program : nullptr;
}

// The mean lightness of a picture, 0 black to 255 white.
int Lightness(const QImage& picture) {
    qint64 sum = 0;
    for (int y = 0; y < picture.height(); y += 4)
        for (int x = 0; x < picture.width(); x += 4)
            sum += qGray(picture.pixel(x, y));
    return int(sum / ((picture.height() + 3) / 4 * ((picture.width() + 3) / 4)));
}

// The lines in which the tool names a widget too narrow for its text.
std::string SqueezedTexts(QProcess& program) {
    QStringList squeezed;
    for (const QString& line : QString::fromUtf8(program.readAllStandardError()).split('\n'))
        if (line.contains(QStringLiteral(": squeezed: ")))
            squeezed.append(line);
    return squeezed.join('\n').toStdString();
}

TEST(Screenshots, WritesEveryWindowPlainAtScaleTwoAndDark) {
    QTemporaryDir out;
    QProcess program;
    ASSERT_TRUE(RunTool(program, {out.path() + "/shots"}, out.path()));
    EXPECT_EQ(SqueezedTexts(program), "");
    EXPECT_EQ(program.exitCode(), 0);

    QSize settingsSize;
    for (const char* name :
         {"settings-0-general", "settings-1-network", "settings-2-processing", "settings-3-cashe",
          "settings-4-copy", "about", "select-number", "select-number-by-number", "all-numbers",
          "update", "update-whats-new", "socket-errors", "archive-list", "archive-preview",
          "archive-copy", "main-issue-offered"}) {
        const QImage picture(out.path() + "/shots/" + name + ".png");
        ASSERT_FALSE(picture.isNull()) << name;
        EXPECT_GT(picture.width(), 200) << name;
        EXPECT_GT(picture.height(), 100) << name;
        if (QByteArray(name).startsWith("settings")) {
            // One window size for all pages: no page is cut to fit another.
            if (settingsSize.isEmpty())
                settingsSize = picture.size();
            EXPECT_EQ(picture.size(), settingsSize) << name;
        }
        const QImage scaled(out.path() + "/shots/scale2/" + name + ".png");
        // About twice the pixels: a window laid out in scaled fonts differs.
        EXPECT_NEAR(scaled.width(), 2 * picture.width(), picture.width() * 2 / 5) << name;
        EXPECT_NEAR(scaled.height(), 2 * picture.height(), picture.height() * 2 / 5) << name;
        const QImage dark(out.path() + "/shots/dark/" + name + ".png");
        ASSERT_FALSE(dark.isNull()) << name;
        EXPECT_LT(Lightness(dark), Lightness(picture)) << name;
    }
}

// As a desktop scaled by half as much again gives it: field and label widths
// round differently from whole scales.
TEST(Screenshots, NoWindowSqueezesATextAtScaleOneAndAHalf) {
    QTemporaryDir out;
    QProcess program;
    ASSERT_TRUE(RunTool(program, {"--scale", "1.5", out.path() + "/shots"}, out.path()));
    EXPECT_EQ(SqueezedTexts(program), "");
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_TRUE(QFile::exists(out.path() + "/shots/select-number.png"));
}

TEST(Screenshots, HelpIsHelpAndNotAnOutputFolder) {
    QTemporaryDir out;
    QProcess program;
    ASSERT_TRUE(RunTool(program, {"--help"}, out.path()));
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_TRUE(program.readAllStandardOutput().contains("OUTDIR"));
    EXPECT_FALSE(QDir(out.path() + "/--help").exists());

    ASSERT_TRUE(RunTool(program, {"--scale", "none", out.path() + "/x"}, out.path()));
    EXPECT_EQ(program.exitCode(), 2);
    EXPECT_FALSE(QDir(out.path() + "/x").exists());
}

} // namespace
