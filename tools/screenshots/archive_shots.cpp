// The archive's windows: "Архив" with its list and the panel of the
// newspaper issue, the same with that issue's preview, "Копирование архива"
// while it copies the demo archive, and the main window offering a
// downloaded issue.
#include "app/main_controller.h"
#include "app/main_window.h"
#include "archive/arhiv.h"
#include "archive/copy_arhiv.h"
#include "archive/issue_list.h"
#include "settings/messenger.h"
#include "tools/screenshots/demo_home.h"
#include "tools/screenshots/shots.h"

#include <QApplication>
#include <QListWidget>
#include <QToolButton>
#include <cstdio>

namespace {

// Nobody answers a message here: it is printed, and the picture that
// follows shows what the window did.
class PrintingMessenger : public Messenger {
public:
    MessageAnswer Show(const QString& text, const QString& title, MessageIcon,
                       MessageButtons buttons) override {
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
        return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }
};

void settle() {
    for (int i = 0; i < 10; ++i)
        QApplication::processEvents();
}

bool save(QWidget& window, const QString& outDir, const QString& name) {
    settle();
    const QString file = outDir + "/" + name;
    if (!window.grab().save(file)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return false;
    }
    std::printf("%s\n", qPrintable(file));
    return true;
}

int newspaperRow(const QListWidget& list) {
    for (int row = 0; row < list.count(); ++row) {
        if (!list.item(row)->text().endsWith(QStringLiteral(".KT")))
            return row;
    }
    return 0;
}

bool archiveWindow(const QString& home, Settings& settings, Messenger& messenger,
                   const QString& outDir) {
    Arhiv window(home, settings, messenger);
    window.show();
    window.List1->setCurrentRow(newspaperRow(*window.List1));
    bool ok = save(window, outDir, QStringLiteral("archive-list.png"));
    window.Command3->click();
    return save(window, outDir, QStringLiteral("archive-preview.png")) && ok;
}

// Taken after the last folder, when the bar has moved the furthest.
bool copierWindow(const QString& home, const Settings& settings, Messenger& messenger,
                  const QString& outDir) {
    CopyArhiv window(home, settings, messenger);
    const int folders = int(window.copy().Folders().size());
    int copied = 0;
    bool ok = false;
    const auto shown = window.copy().progress;
    window.copy().progress = [&](int16_t percent) {
        shown(percent);
        if (++copied == folders)
            ok = save(window, outDir, QStringLiteral("archive-copy.png"));
    };
    window.exec();
    return ok;
}

bool mainWindow(const QString& home, Messenger& messenger, const QString& outDir) {
    AppState app;
    app.ProgramFolder = home;
    MainController controller(app, messenger);
    Main window(controller);
    window.show();
    controller.SetStat(QStringLiteral("Номер загружен"));
    controller.OfferIssue(home + "/Download/" + ListArchiveIssues(home).value(0));
    return save(window, outDir, QStringLiteral("main-issue-offered.png"));
}

} // namespace

bool ArchiveShots(const QString& outDir) {
    DemoHome home;
    if (!home.ready()) {
        std::fprintf(stderr, "archive pictures: %s\n", qPrintable(home.error()));
        return false;
    }
    PrintingMessenger messenger;
    Settings settings;
    SetDefaults(settings, home.path());
    settings.FolderToCopy = home.scratch(QStringLiteral("copy"));
    const bool archive = archiveWindow(home.path(), settings, messenger, outDir);
    const bool copier = copierWindow(home.path(), settings, messenger, outDir);
    return mainWindow(home.path(), messenger, outDir) && copier && archive;
}
