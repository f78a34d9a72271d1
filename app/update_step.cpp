#include "app/update_step.h"

#include "app/issue_choice.h"
#include "app/unattended_messenger.h"
#include "net/download_control.h"
#include "update/update_download.h"

StepOutcome CheckNewVersion(DownloadRun& run) {
    run.setStat(QString::fromUtf8("Проверка новой версии..."));
    UpdateInfo info;
    switch (AskUpdateServer(run.DC, run.app.sites.Update, run.app.VersionINI, info)) {
    case VersionCheck::Current:
        return StepOutcome::done();
    case VersionCheck::Stopped:
        return StepOutcome::stopped();
    case VersionCheck::ProxyRefused:
        return ProxyRefusal(run);
    case VersionCheck::NewVersion:
        break;
    }
    run.setStat(QString::fromUtf8("Найдена новая версия"));
    // Nobody is there to decide, and nothing is installed unasked.
    if (run.st.AutoNewspaper || run.st.AutoMagazine) {
        const QString notice = update_text::UnattendedNotice(info);
        WriteUnattendedLine(QString::fromUtf8("Обновление"), notice);
        run.report.notices.append(notice);
        return StepOutcome::done();
    }
    run.view.SetClockRunning(false);
    if (run.view.OfferUpdate(info) == UpdateDecision::Cancel)
        return StepOutcome::done();
    return DownloadUpdate(run, info);
}

StepOutcome DownloadUpdate(DownloadRun& run, const UpdateInfo& info) {
    const FetchedRelease release = FetchRelease(run.DC, info, run.app.ProgramFolder,
                                                [&run](const QString& text) { run.setStat(text); });
    // A stop has already returned the window to idle and said so.
    if (release.outcome == ReleaseFetch::Stopped)
        return StepOutcome::stopped();
    if (release.outcome == ReleaseFetch::Ready &&
        StartRelease(release.path, run.app.ProgramFolder)) {
        run.view.EndProgram();
        return StepOutcome::ended();
    }
    if (release.outcome != ReleaseFetch::Unsigned)
        return StepOutcome::failed(update_text::Failed());
    // The window says so again, over the status line that already does.
    run.setStat(update_text::Unsigned());
    run.view.RefuseUpdate(info);
    return StepOutcome::failed();
}
