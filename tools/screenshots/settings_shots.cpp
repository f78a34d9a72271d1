#include "tools/screenshots/settings_shots.h"

#include "app/about_window.h"
#include "app/options_window.h"
#include "net/download_control.h"
#include "tools/screenshots/shot.h"

#include <QDir>
#include <QRadioButton>

namespace {

// Every page with its controls usable: the proxy with authorisation, the
// copy with its folder, one issue in the archive.
void PrepareRecord(AppState& app, Messenger& messenger) {
    SetDefaults(app.settings, app.ProgramFolder);
    Settings& s = app.settings;
    s.UseProxy = true;
    s.ProxyAut = true;
    s.ProxyLogin = QStringLiteral("reader");
    s.ProxyPass = QStringLiteral("secret");
    s.AutoCopy = true;
    s.FolderToCopy = app.ProgramFolder + "/copy";
    s.CreateSubFolders = true;
    s.CreateMainIndex = true;
    QDir().mkpath(s.FolderToCopy);
    QDir().mkpath(app.ProgramFolder + "/Download/2005.01.12");
    SaveSettings(s, app.OptionsINI, app.ProgramFolder, messenger);
}

// Messages would wait for a click nobody gives; the pictures need none.
class SilentMessenger : public Messenger {
public:
    MessageAnswer Show(const QString&, const QString&, MessageIcon, MessageButtons) override {
        return MessageAnswer::No;
    }
};

} // namespace

bool WriteSettingsShots(const QString& programFolder, const QString& outDir, QStringList& written) {
    static constexpr const char* PageNames[] = {"general", "network", "processing", "cashe",
                                                "copy"};
    bool allWritten = true;
    SilentMessenger messenger;
    AppState app;
    app.ProgramFolder = programFolder;
    PrepareRecord(app, messenger);
    Download_Control DC;
    DC.PathCasheFiles(programFolder + "/cashe");

    OptionsController controller(app, DC, messenger);
    Options window(controller);
    controller.Open();
    for (int page = 0; page < OptionsController::PageCount; ++page) {
        window.Option[page]->click();
        allWritten &= SaveShot(
            window,
            QStringLiteral("%1/settings-%2-%3.png").arg(outDir).arg(page).arg(PageNames[page]),
            written);
    }
    window.hide();

    About about(app.sites);
    allWritten &= SaveShot(about, outDir + "/about.png", written);
    return allWritten;
}
