// Every text of every window stands out from its background by 4.5:1, in a
// light and in a dark palette: links, the red warning and the plain labels.
#include "app/about_window.h"
#include "app/main_controller.h"
#include "app/main_window.h"
#include "app/options_window.h"
#include "app/select_number.h"
#include "net/download_control.h"
#include "net/download_control_view.h"
#include "tests/support/closed_port.h"
#include "tests/support/scripted_messenger.h"
#include "tests/support/temp_program_folder.h"
#include "ui/text_colours.h"
#include "update/upgrade.h"

#include <QApplication>
#include <QLabel>
#include <QRegularExpression>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Labels drawn in a colour of their own, that cannot be read.
QStringList Unreadable(QWidget& window) {
    QStringList found;
    for (QLabel* label : window.findChildren<QLabel*>()) {
        if (!label->isVisible() || !label->isEnabled() || label->text().isEmpty())
            continue;
        const QPalette& p = label->palette();
        // A rich-text link is drawn in the colour written into it, else in
        // the application's link colour.
        const QRegularExpressionMatch written =
            QRegularExpression("<a [^>]*color: *(#[0-9a-f]{6})").match(label->text());
        QColor text = p.color(label->foregroundRole());
        if (label->text().contains(QStringLiteral("<a ")))
            text = written.hasMatch() ? QColor(written.captured(1))
                                      : QApplication::palette().color(QPalette::Link);
        const double ratio = ContrastRatio(text, p.color(label->backgroundRole()));
        if (ratio < ReadableContrast)
            found << QStringLiteral("%1 (%2:1)").arg(label->text()).arg(ratio, 0, 'f', 1);
    }
    return found;
}

void ExpectReadable(QWidget& window) {
    window.show();
    QApplication::processEvents();
    const QStringList unreadable = Unreadable(window);
    EXPECT_TRUE(unreadable.isEmpty())
        << window.windowTitle().toStdString() << ": " << unreadable.join("; ").toStdString();
}

// Dark windows from the toolkit's own rule of text on a background; the
// link keeps the default blue, which is unreadable on them as it stands.
QPalette Dark() {
    return QPalette(QColor(53, 53, 53), QColor(45, 45, 45));
}

class WindowColours : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        QApplication::setPalette(GetParam() ? Dark() : QApplication::style()->standardPalette());
    }
    void TearDown() override { QApplication::setPalette(QApplication::style()->standardPalette()); }
    TempProgramFolder home;
    ScriptedMessenger messenger;
};

TEST_P(WindowColours, EveryLabelOfEveryWindowIsReadable) {
    ASSERT_LT(ContrastRatio(QPalette().color(QPalette::Link), QPalette().color(QPalette::Window)),
              GetParam() ? ReadableContrast : 21.0);
    AppState app;
    app.ProgramFolder = home.path();
    SetDefaults(app.settings, home.path());

    // The main window offering an issue, its download control showing a
    // socket error as a link.
    MainController controller(app, messenger);
    Main main(controller);
    Download_Control dc;
    main.setDownloadControlView(new DownloadControlView(&dc));
    dc.RHost("127.0.0.1:" + ByteText::number(ClosedLocalPort()));
    ASSERT_EQ(dc.Down("/", false), "error");
    controller.OfferIssue(home.file("Download/2005.12.07"));
    QTest::qWait(50); // the control's face follows within a frame
    ExpectReadable(main);

    About about(app.sites);
    ExpectReadable(about);
    OptionsController options(app, dc, messenger);
    Options settings(options);
    options.Open();
    ExpectReadable(settings);
    UpdateInfo info;
    info.Version = "2.2.0";
    Upgrade update(info);
    ExpectReadable(update);

    // The selection window warning that the issue is archived already.
    home.write("Download/2005.12.07/index.htm", "<div class=\"date\">7.12.2005 (23613)</div>");
    SelectionData data;
    data.CurrentSource = 1;
    data.LatestIssue = "23613";
    data.ProgramFolder = home.path();
    Select_Number selection(data);
    QTimer::singleShot(0, &selection, [&] {
        EXPECT_TRUE(selection.Label3->isVisible());
        ExpectReadable(selection);
        selection.reject();
    });
    selection.Run();
}

INSTANTIATE_TEST_SUITE_P(LightAndDark, WindowColours, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Dark" : "Light"; });

} // namespace
