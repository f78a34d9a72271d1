#include "app/issue_indexes.h"

#include "app/workflow_text.h"
#include "processing/issue_index.h"
#include "settings/utf8_text.h"

namespace {

// The search index learns the pages that arrived, an incomplete issue's
// too; its next download replaces them. The index is derived data.
AsideIndexing indexAside(const DownloadRun& run) {
    AsideIndexing aside;
    aside.outcome = std::async(std::launch::async, search::IndexIssue, run.app.ProgramFolder,
                               run.st.IssueFolder, search::IndexProgress::Reporter(aside.progress));
    return aside;
}

} // namespace

bool PicturesFollow(const DownloadRun& run) {
    return run.settings.DownloadImages && run.st.ImageCount > 0;
}

StepOutcome IndexIssue(DownloadRun& run) {
    // Until its pictures are in, the index says the issue is incomplete, so
    // a run that ends meanwhile (killed, a power cut) leaves an issue that the
    // next download completes instead of counting it as archived.
    const bool picturesFollow = PicturesFollow(run);
    StepOutcome written = WriteIndex(run, run.complete && !picturesFollow);
    // Every page is in and listed: they go into the search index on another
    // thread while the pictures arrive. However the download ends, the
    // indexing is waited for (the driver drops it last).
    if (written.isDone() && picturesFollow)
        run.indexing = indexAside(run);
    return written;
}

StepOutcome WriteIndex(DownloadRun& run, bool complete) {
    const WorkflowState& st = run.st;
    IssueIndexInput in;
    in.CurrentSource = st.CurrentSource;
    in.IssueDate = st.IssueDate;
    in.IssueNumber = st.IssueNumber;
    in.PageCount = st.PageCount;
    in.IssueFolder = st.IssueFolder;
    in.PagePaths = st.PagePaths;
    in.PageTitles = st.PageTitles;
    in.MagazineTitles = st.MagazineTitles;
    in.TempFolder = st.TempFolder;
    in.CoverFiles = st.CoverFiles;
    in.SelectedIssue = st.SelectedIssue;
    const IssueIndexResult index =
        BuildIssueIndex(complete, in, run.app.ProgramFolder, run.app.sites);
    run.st.PageText = index.page;
    if (index.failedPath.isEmpty())
        return StepOutcome::done();
    return StepOutcome::failed(workflow_text::WriteError(index.failedPath));
}

void IndexForSearch(DownloadRun& run) {
    run.setStat(U("Индексация номера для поиска..."));
    AsideIndexing& aside = run.indexing;
    if (!aside.outcome.valid())
        aside = indexAside(run);
    // The window goes on answering meanwhile, and counts the issues of an
    // archive that is indexed whole first (the first run of a version with
    // search, a deleted or damaged index).
    const search::IndexOutcome outcome = search::WaitAnswering(
        aside.outcome, *aside.progress, [&run](const QString& text) { run.setStat(text); });
    // In the status line only: standard error of an unattended run is for
    // what went wrong with the download.
    if (!outcome.note.isEmpty())
        run.setStat(outcome.note);
}
