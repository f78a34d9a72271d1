// The archive's windows: "Архив" with its list and the panel of the
// newspaper issue, the same with that issue's preview, "Копирование архива"
// while it copies the demo archive, and the main window offering a
// downloaded issue.
#include "tools/screenshots/archive_shots.h"

#include "app/main_controller.h"
#include "app/main_window.h"
#include "archive/arhiv.h"
#include "archive/copy_arhiv.h"
#include "archive/issue_list.h"
#include "settings/messenger.h"
#include "tools/screenshots/demo_issues.h"
#include "tools/screenshots/shot.h"

#include <QListWidget>
#include <QTemporaryDir>
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
        return AsksYesNo(buttons) ? MessageAnswer::No : MessageAnswer::Ok;
    }
};

int newspaperRow(const QListWidget& list) {
    for (int row = 0; row < list.count(); ++row) {
        if (!list.item(row)->text().endsWith(QStringLiteral(".KT")))
            return row;
    }
    return 0;
}

struct ArchiveShots {
    QString programFolder, outDir;
    Settings settings;
    PrintingMessenger messenger;
    QStringList& written;

    bool save(QWidget& window, const char* name) {
        return SaveShot(window, outDir + "/" + name, written);
    }

    bool archiveWindow() {
        Arhiv window(programFolder, settings, messenger);
        window.show();
        window.List1->setCurrentRow(newspaperRow(*window.List1));
        const bool list = save(window, "archive-list.png");
        window.Command3->click();
        return save(window, "archive-preview.png") && list;
    }

    // Taken after the last folder, when the bar has moved the furthest.
    bool copierWindow() {
        CopyArhiv window(programFolder, settings, messenger);
        const qsizetype folders = window.copy().Folders().size();
        qsizetype copied = 0;
        bool saved = false;
        const auto shown = window.copy().progress;
        window.copy().progress = [&](int16_t percent) {
            shown(percent);
            if (++copied == folders)
                saved = save(window, "archive-copy.png");
        };
        window.exec();
        return saved;
    }

    bool mainWindow() {
        AppState app;
        app.ProgramFolder = programFolder;
        MainController controller(app, messenger);
        Main window(controller);
        window.show();
        controller.SetStat(QStringLiteral("Номер загружен"));
        controller.OfferIssue(ArchiveFolderPath(programFolder) + "/" +
                              ListArchiveIssues(programFolder).value(0));
        return save(window, "main-issue-offered.png");
    }
};

} // namespace

bool WriteArchiveShots(const QString& programFolder, const QString& outDir, QStringList& written) {
    const QString error = DownloadDemoIssues(programFolder);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "archive pictures: %s\n", qPrintable(error));
        return false;
    }
    ArchiveShots shots{programFolder, outDir, {}, {}, written};
    SetDefaults(shots.settings, programFolder);
    QTemporaryDir copyFolder;
    shots.settings.FolderToCopy = copyFolder.path();
    const bool archive = shots.archiveWindow();
    const bool copier = shots.copierWindow();
    return shots.mainWindow() && copier && archive;
}
