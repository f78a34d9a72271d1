#include "app/issue_choice.h"

#include "app/workflow_text.h"
#include "archive/check_in_archive.h"
#include "net/download_control.h"
#include "net/hang_up.h"
#include "settings/utf8_text.h"

namespace {

ByteText sourceHost(const DownloadRun& run) {
    return run.st.CurrentSource == MagazineSource ? run.app.sites.MagazineArchive
                                                  : run.app.sites.Newspaper;
}

SelectionData selectionData(const DownloadRun& run) {
    const WorkflowState& st = run.st;
    SelectionData data;
    data.CurrentSource = st.CurrentSource;
    data.LatestIssue = st.LatestIssue;
    data.ProgramFolder = run.app.ProgramFolder;
    data.TempFolder = st.TempFolder;
    data.CoverFiles = st.CoverFiles;
    data.NumberList = run.scan.NumberList;
    data.DateList = run.scan.DateList;
    data.LinkCount = run.scan.LinkCount;
    data.ArchiveNumbers = run.scan.ArchiveNumbers;
    data.ArchiveDates = run.scan.ArchiveDates;
    data.ArchiveCount = run.scan.ArchiveCount;
    data.SelectedIssue = st.SelectedIssue;
    data.Unattended = st.AutoNewspaper || st.AutoMagazine;
    data.ByNumberOnly = run.byNumberOnly;
    return data;
}

void takeChoice(WorkflowState& st, const SelectionChoice& choice) {
    st.IssueNumber = choice.IssueNumber;
    st.SelectedIssue = choice.SelectedIssue;
    st.IssueDate = choice.IssueDate;
    st.IssueDateNumeric = choice.IssueDateNumeric;
    st.IssueDateOverride = choice.IssueDateOverride;
}

} // namespace

StepOutcome LoadMainPage(DownloadRun& run) {
    WorkflowState& st = run.st;
    run.setStat(U("Загрузка главной страницы..."));
    run.DC.RHost(sourceHost(run));
    ByteText& remembered = st.RememberedMainPage[st.CurrentSource - 1];
    st.PageText.clear();
    if (run.settings.QuickDownload && !remembered.isEmpty() && remembered != "error")
        st.PageText = remembered;
    if (st.PageText.isEmpty())
        st.PageText = run.DC.Down("/", false);
    if (st.PageText == "error" && run.DC.ProxyRefused())
        return ProxyRefusal(run);
    // The user stopped the fetch: the stop has already returned the window
    // to idle and said so; a "stop" is no main page.
    if (st.PageText == "stop")
        return StepOutcome::stopped();
    const bool present = MainPageArrived(st);
    if (run.settings.QuickDownload && present)
        remembered = st.PageText;
    if (!present)
        run.setStat(U("Ошибка при загрузке главной страницы"));
    return StepOutcome::done();
}

bool MainPageArrived(const WorkflowState& st) {
    return !st.PageText.isEmpty() && st.PageText != "error";
}

StepOutcome ChooseIssue(DownloadRun& run) {
    run.setStat(U("Выбор номера для загрузки."));
    const SelectionData data = selectionData(run);
    run.view.SetClockRunning(false);
    SelectionChoice choice;
    switch (run.view.OpenSelection(data, choice)) {
    case SelectionOutcome::EndProgram:
        // The run ends here; whoever started it ends the program.
        run.report.end = DownloadEnd::AlreadyArchived;
        run.report.archivedFolder = ArchivedIssueFolder(run.app.ProgramFolder, run.st.LatestIssue);
        return StepOutcome::ended();
    case SelectionOutcome::Cancel:
        return StepOutcome::failed(U("Загрузка отменена."));
    case SelectionOutcome::Load:
        break;
    }
    takeChoice(run.st, choice);
    run.view.SetClockRunning(true);
    return StepOutcome::done();
}

StepOutcome ProxyRefusal(DownloadRun& run) {
    return StepOutcome::failed(U("Ошибка авторизации на прокси-сервере")).then([&run] {
        run.messenger.Show(
            workflow_text::ProxyRefusal(run.settings.ProxyName, run.settings.ProxyPort),
            U("Ошибка"), MessageIcon::Error);
        return StepOutcome::done();
    });
}

// Told once the window is idle; with KillConnect the user may hang up at once.
StepOutcome ContentsFailure(DownloadRun& run) {
    return StepOutcome::failed(U("Ошибка при загрузке")).then([&run] {
        if (!run.settings.KillConnect) {
            run.messenger.Show(workflow_text::ContentsError(), U("Ошибка"), MessageIcon::Error);
            return StepOutcome::done();
        }
        if (run.messenger.Show(workflow_text::ContentsError() + U("\r\nРазорвать соединение?"),
                               U("Ошибка"), MessageIcon::Error,
                               MessageButtons::YesNo) == MessageAnswer::Yes)
            run.hangUp.HangUpAll();
        return StepOutcome::done();
    });
}
