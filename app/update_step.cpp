// The version check at the start of a download, and the update it may lead
// to. The window is the view's; the rules are update/update_check.h.
#include "app/workflow.h"

#include "app/unattended_messenger.h"
#include "net/download_control.h"
#include "update/update_download.h"

bool IssueDownload::CheckNewVersion() {
    setStat(QString::fromUtf8("Проверка новой версии..."));
    UpdateInfo info;
    switch (AskUpdateServer(DC, app_.sites.Update, app_.VersionINI, info)) {
    case VersionCheck::Current:
        return true;
    case VersionCheck::Stopped:
        return false;
    case VersionCheck::ProxyRefused:
        endWithProxyRefusal();
        return false;
    case VersionCheck::NewVersion:
        break;
    }
    setStat(QString::fromUtf8("Найдена новая версия"));
    // Nobody is there to decide, and nothing is installed unasked.
    if (st_.AutoNewspaper || st_.AutoMagazine) {
        const QString notice = update_text::UnattendedNotice(info);
        WriteUnattendedLine(QString::fromUtf8("Обновление"), notice);
        report_.notices.append(notice);
        return true;
    }
    view_.SetClockRunning(false);
    if (view_.OfferUpdate(info) == UpdateDecision::Cancel)
        return true;
    DownloadUpdate(info);
    return false;
}

void IssueDownload::DownloadUpdate(const UpdateInfo& info) {
    const FetchedRelease release =
        FetchRelease(DC, info, app_.ProgramFolder, [this](const QString& text) { setStat(text); });
    // A stop has already returned the window to idle and said so.
    if (release.outcome == ReleaseFetch::Stopped)
        return;
    if (release.outcome == ReleaseFetch::Ready && StartRelease(release.path, app_.ProgramFolder)) {
        view_.EndProgram();
        return;
    }
    if (release.outcome == ReleaseFetch::Unsigned) {
        setStat(update_text::Unsigned());
        view_.RefuseUpdate(info);
    } else {
        setStat(update_text::Failed());
    }
    view_.ResetControls();
}
