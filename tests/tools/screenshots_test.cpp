// norvel-screenshots run as the user runs it: one picture per settings page
// and one of the about window, each a whole window.
#include "tests/support/temp_program_folder.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(Screenshots, WritesEverySettingsPageAndTheAboutWindow) {
    QTemporaryDir out;
    QProcess program;
    program.start(TempProgramFolder::binDir() + "/norvel-screenshots", {out.path() + "/shots"});
    ASSERT_TRUE(program.waitForFinished(60'000));
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();

    QSize settingsSize;
    for (const char* name : {"settings-0-general", "settings-1-network", "settings-2-processing",
                             "settings-3-cashe", "settings-4-copy", "about"}) {
        const QImage picture(out.path() + "/shots/" + name + ".png");
        ASSERT_FALSE(picture.isNull()) << name;
        EXPECT_GT(picture.width(), 300) << name;
        EXPECT_GT(picture.height(), 200) << name;
        if (QByteArray(name).startsWith("settings")) {
            // One window size for all pages: no page is cut to fit another.
            if (settingsSize.isEmpty())
                settingsSize = picture.size();
            EXPECT_EQ(picture.size(), settingsSize) << name;
        }
    }
}

} // namespace
