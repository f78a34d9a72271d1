#include "app/workflow.h"

#include "app/issue_choice.h"
#include "app/issue_finish.h"
#include "app/issue_indexes.h"
#include "app/issue_resume.h"
#include "app/magazine_download.h"
#include "app/newspaper_download.h"
#include "app/update_step.h"
#include "net/download_control.h"
#include "net/proxy_settings.h"
#include "net/status_line.h"

namespace {

// A newspaper download, step by step.
constexpr DownloadStep NewspaperSteps[] = {
    CheckNewVersion,   // a newer version first; "Обновить" ends the run
    LoadMainPage,      // the site's main page
    NewspaperMainPage, // the newest issue and the archive list, or the load by number
    ChooseIssue,       // the selection window
    LoadFirstPage,     // the table of contents: pages, titles, date
    OpenIssueFolder,   // an unfinished earlier download there taken up
    LoadAllPage,       // every page, processed and linked
    IndexIssue,        // index.htm; the search indexing begins aside
    LoadAllImages,     // every picture
    FinishIssue,       // copy-out, e-book, retirement, hang-up, "Номер загружен"
};

// A magazine download, step by step.
constexpr DownloadStep MagazineSteps[] = {
    CheckNewVersion,      // a newer version first; "Обновить" ends the run
    LoadMainPage,         // the archive's main page
    MagazineMainPage,     // the issue list and every issue's cover
    ChooseIssue,          // the selection window
    LoadMagazineContents, // the table of contents: articles, titles, annotations
    OpenIssueFolder,      // an unfinished earlier download there taken up
    LoadMagazinePages,    // every article, processed and linked
    IndexIssue,           // index.htm; the search indexing begins aside
    LoadMagazineImages,   // every picture
    FinishIssue,          // copy-out, e-book, retirement, hang-up, "Номер загружен"
};

} // namespace

IssueDownload::IssueDownload(AppState& app, Download_Control& DC, Messenger& messenger,
                             DownloadView& view, Hang_Up& hangUp)
    : run_(app, DC, messenger, view, hangUp, makeBook) {
    QObject::connect(&DC, &Download_Control::connectionFailed, &receiver_,
                     [this](const QString& reason) {
                         if (!run_.report.reasons.contains(reason))
                             run_.report.reasons.append(reason);
                     });
}

void IssueDownload::Start() {
    PrepareStart();
    if (run_.st.CurrentSource == MagazineSource)
        RunSteps(MagazineSteps);
    else
        RunSteps(NewspaperSteps);
}

void IssueDownload::PrepareStart() {
    HandProxySettings(run_.DC, run_.settings);
    // A date picked in the list belongs to the download it was picked for.
    run_.st.IssueDateOverride.clear();
    run_.report = DownloadReport();
    run_.byNumberOnly = false;
}

void IssueDownload::RunSteps(std::span<const DownloadStep> steps) {
    StepOutcome outcome = StepOutcome::done();
    for (const DownloadStep step : steps) {
        outcome = step(run_);
        if (!outcome.isDone())
            break;
    }
    end(outcome);
    // Nothing fetched ahead or indexed aside outlives the download.
    run_.pool.reset();
    run_.indexing = AsideIndexing();
}

// A stopped or ended download has said all there is to say; a failed one
// goes back to idle with its reason in the status line, then follows up.
void IssueDownload::end(const StepOutcome& outcome) {
    if (outcome.kind() != StepOutcome::Kind::Failed)
        return;
    if (!outcome.reason().isEmpty())
        run_.setStat(outcome.reason());
    run_.view.ResetControls();
    if (outcome.followUp())
        end(outcome.followUp()());
}

bool Delivered(const ByteText& result) {
    return IsSuccessStatus(result);
}

bool DeliveredWithBody(const ByteText& result) {
    const qsizetype headerEnd = result.indexOf("\r\n\r\n");
    return Delivered(result) && headerEnd >= 0 && headerEnd + 4 < result.size();
}
