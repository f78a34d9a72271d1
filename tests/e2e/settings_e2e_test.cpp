// The settings window saves what the real program then works with: the
// window is driven like a user in a fresh program folder, then norvel2 -kp
// runs there unattended against the demo site.
#include "app/options_window.h"
#include "net/download_control.h"
#include "settings/program_folder.h"
#include "tests/support/demo_site.h"
#include "tests/support/program_run.h"
#include "tests/support/scripted_messenger.h"
#include "tests/support/temp_program_folder.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void Tick(QAbstractButton* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
}

void Type(QLineEdit* field, const QString& text) {
    field->selectAll();
    QTest::keyClicks(field, text);
}

// The program's first start: the defaults written.
void FirstStart(AppState& app, Messenger& messenger) {
    app.ProgramFolder = ProgramFolder();
    app.sites = LoadSites(app.ProgramFolder);
    SetDefaults(app.settings, app.ProgramFolder);
    SaveSettings(app.settings, app.OptionsINI, app.ProgramFolder, messenger);
}

TEST(SettingsToProgram, TheNextUnattendedRunUsesWhatTheWindowSaved) {
    TempProgramFolder home;
    DemoSite site({"--proxy-auth", "reader:secret"});
    ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
    ASSERT_TRUE(site.installInto(home.path()));
    ScriptedMessenger messenger;
    AppState app;
    FirstStart(app, messenger);

    {
        Download_Control DC;
        OptionsController controller(app, DC, messenger);
        Options window(controller);
        controller.Open();
        window.show();
        Tick(window.Option5); // folders named by the issue number
        Tick(window.Check8);  // no pictures
        QTest::mouseClick(window.Option[1], Qt::LeftButton, {}, QPoint(6, 6));
        Tick(window.Check5);
        Type(window.Text6, QString::number(site.proxyPort()));
        Tick(window.Check6);
        Type(window.Text7, "reader");
        Type(window.Text8, "secret");
        QTest::mouseClick(window.Command1, Qt::LeftButton);
        ASSERT_EQ(window.result(), QDialog::Accepted);
    }
    ASSERT_TRUE(messenger.shown().isEmpty());

    const ProgramRun run = RunProgram(home.path(), "-kp");
    ASSERT_TRUE(run.finished) << "the unattended run must end by itself";
    EXPECT_EQ(run.exitCode, 0);
    const QStringList folders =
        QDir(home.file("Download")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(folders.size(), 1);
    bool number = false;
    folders.first().toUInt(&number);
    EXPECT_TRUE(number) << "named by the issue number: " << folders.first().toStdString();
    const QString issue = home.file("Download/" + folders.first());
    EXPECT_TRUE(QFile::exists(issue + "/page1.html"));
    EXPECT_TRUE(QDir(issue + "/img").entryList({"*.jpg", "*.png"}).isEmpty());

    // Every request of the site went through the proxy, with the
    // credentials; one without them would have been refused with 407.
    const QList<ByteText> requests = site.requests();
    ASSERT_FALSE(requests.isEmpty());
    int proxied = 0;
    for (const ByteText& request : requests)
        if (request.startsWith("GET http://") && request.contains("Proxy-Authorization: Basic "))
            ++proxied;
    EXPECT_EQ(proxied, requests.size());
}

} // namespace
