#include "app/issue_finish.h"

#include "app/issue_indexes.h"
#include "archive/issue_folder.h"
#include "net/download_control.h"
#include "net/hang_up.h"
#include "settings/utf8_text.h"

namespace {

void copyOut(DownloadRun& run) {
    run.report.copyFailed = !NumberCopy(run.st.IssueFolder, run.settings, run.app.ProgramFolder,
                                        run.messenger, [&run](const QString& text) {
                                            run.setStat(text);
                                            run.view.Repaint();
                                        });
}

// The user stopped the download while the pictures arrived: what did
// arrive is kept and copied, and nothing more is done.
StepOutcome endStopped(DownloadRun& run) {
    run.report.end = DownloadEnd::Stopped;
    run.setStat(U("Загрузка прервана пользователем"));
    if (run.settings.KillConnect &&
        run.messenger.Show(U("Разорвать соединение?"), U("Подтверждение"), MessageIcon::Question,
                           MessageButtons::YesNo) == MessageAnswer::Yes)
        run.hangUp.HangUpAll();
    return StepOutcome::stopped();
}

void announce(DownloadRun& run) {
    const WorkflowState& st = run.st;
    run.report.end = run.complete ? DownloadEnd::Complete : DownloadEnd::Incomplete;
    run.setStat(U("Номер загружен"));
    run.view.OfferIssue(st.IssueFolder);
    const bool unattended = (st.CurrentSource == NewspaperSource && st.AutoNewspaper) ||
                            (st.CurrentSource == MagazineSource && st.AutoMagazine);
    run.view.IssueArrived({st.CurrentSource, cp1251::toUnicode(st.IssueDate),
                           cp1251::toUnicode(st.IssueNumber), st.IssueFolder, run.complete,
                           unattended});
}

} // namespace

StepOutcome FinishIssue(DownloadRun& run) {
    if (run.complete)
        run.record.Remove();
    IndexForSearch(run);
    run.view.ResetControls();
    if (run.settings.AutoCopy)
        copyOut(run);
    if (run.st.StopRequested)
        return endStopped(run);
    ArchiveUpkeep(run.app, run.messenger, run.makeBook,
                  [&run](const QString& text) { run.setStat(text); });
    // An incomplete issue keeps the cached responses, so its next download
    // fetches only what is still missing.
    if (run.settings.ClearCasheDown && run.complete)
        run.DC.ClearCashe();
    if (run.settings.KillConnect)
        run.hangUp.HangUpAll();
    announce(run);
    return StepOutcome::done();
}
