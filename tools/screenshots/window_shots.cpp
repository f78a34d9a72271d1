#include "tools/screenshots/window_shots.h"

#include "app/all_number.h"
#include "app/select_number.h"
#include "app/ws_error_doc.h"
#include "tools/screenshots/shot.h"
#include "update/update_check.h"
#include "update/upgrade.h"

#include <QPushButton>
#include <QTimer>

namespace {

struct WindowShots {
    QString outDir;
    QStringList& written;
    bool allWritten = true;

    void save(QWidget& window, const char* name) {
        allWritten = SaveShot(window, outDir + "/" + name, written) && allWritten;
    }

    // A modal window is shot from inside its own loop, then closed.
    void saveModal(Select_Number& window, const char* name) {
        QTimer::singleShot(0, &window, [this, &window, name] {
            save(window, name);
            window.reject();
        });
        window.Run();
    }
};

SelectionData Newspaper(const QString& programFolder) {
    SelectionData d;
    d.CurrentSource = 1;
    d.LatestIssue = "23613";
    d.ProgramFolder = programFolder;
    d.TempFolder = programFolder + "/temp";
    d.ArchiveNumbers = {"23612", "23611", "23610", "23609"};
    d.ArchiveDates = {"6.12.2005", "5.12.2005", "3.12.2005", "2.12.2005"};
    d.ArchiveCount = 4;
    return d;
}

UpdateInfo NewerVersion() {
    UpdateInfo info;
    info.Version = "2.2.0";
    info.FileSize = "70000";
    info.Host = "update.example";
    info.FileName = "norvel2-2.2.0-update.sh";
    info.WhatsNew = cp1251::fromUnicode(QStringLiteral(
        "Версия 2.2.0:\r\n- номера загружаются быстрее;\r\n- окна помнят своё место;\r\n"
        "- тёмная тема оформления."));
    return info;
}

} // namespace

bool WriteWindowShots(const QString& programFolder, const QString& outDir, QStringList& written) {
    WindowShots shots{outDir, written};
    {
        Select_Number found(Newspaper(programFolder));
        shots.saveModal(found, "select-number.png");
    }
    {
        SelectionData byNumber = Newspaper(programFolder);
        byNumber.ByNumberOnly = true;
        Select_Number other(byNumber);
        shots.saveModal(other, "select-number-by-number.png");
    }
    {
        AllNumber list(Newspaper(programFolder));
        shots.save(list, "all-numbers.png");
    }
    {
        Upgrade update(NewerVersion());
        shots.save(update, "update.png");
        update.Command3->click();
        shots.save(update, "update-whats-new.png");
    }
    {
        WSErrorDoc errors(programFolder + "/data/wserror.dat");
        shots.save(errors, "socket-errors.png");
    }
    return shots.allWritten;
}
