#pragma once
// One program run against the demo site, in a temporary program folder:
// the real main window (offscreen) and its controller, one download control,
// the workflow, a scripted messenger and a hang-up layer over a machine
// without dial-up links. Downloads are started by the first button, the
// way the user starts them; the selection window is driven by hooks.

#include "app/download_view_window.h"
#include "app/global.h"
#include "app/main_controller.h"
#include "app/main_window.h"
#include "app/select_number.h"
#include "app/workflow.h"
#include "net/download_control.h"
#include "net/hang_up.h"
#include "tests/support/demo_site.h"
#include "tests/support/scripted_messenger.h"
#include "tests/support/temp_program_folder.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QTest>
#include <functional>
#include <memory>

// The status line of an issue that downloaded whole.
inline const QString Loaded = QString::fromUtf8("Номер загружен");

class E2ERun {
public:
    explicit E2ERun(const QStringList& siteArguments = {});

    bool ready() const { return site.isRunning(); }

    // Presses "Загрузить" for the source and returns when the download has
    // ended. The selection window presses "Загрузка" on the newest issue
    // unless choose is given, which then drives the window itself.
    void Download(int16_t source, std::function<void(Select_Number&)> choose = {});
    // Presses "Стоп" (answered by the messenger's queue) as soon as the
    // status line first reads text during the next download.
    void StopWhenStatus(const QString& text);
    // Points the settings at the site's proxy with the credentials the site
    // was started with (--proxy-auth reader:secret).
    void UseAuthorisedProxy();

    // The issue folder of the last download, and one of its files.
    QString folder() const { return app.state.IssueFolder; }
    ByteText file(const QString& name) const;
    bool exists(const QString& name) const;
    // The request lines the site received ("GET /daily/ HTTP/1.0").
    QList<ByteText> requestLines() const { return site.requestLines(); }
    bool requested(const ByteText& path) const {
        return requestLines().contains("GET " + path + " HTTP/1.0");
    }
    int requestsFor(const ByteText& path) const;
    // A resource fetched straight from the site, body only (what it sends).
    ByteText fetchBody(const ByteText& host, const ByteText& path);
    bool idle() const {
        return !app.state.Downloading && controller.Command1Caption == "Загрузить";
    }

    TempProgramFolder home;
    DemoSite site;
    AppState app;
    ScriptedMessenger messenger;
    Download_Control DC;
    Hang_Up hangUp;
    MainController controller;
    Main window;
    MainWindowView view;
    IssueDownload download;
    bool ended = false;   // the program asked to end at once
    QStringList statuses; // every status line text, in order

private:
    QString stopAt_;
};

// Pick row position (from 0) of the list window under "Другой:", then
// press "Загрузка".
std::function<void(Select_Number&)> PickFromList(int position);
