#include "app/issue_pictures.h"

#include "app/issue_indexes.h"
#include "app/issue_resume.h"
#include "app/workflow.h"
#include "app/workflow_text.h"
#include "net/download_control.h"
#include "net/response.h"
#include "processing/safe_file_name.h"
#include "settings/utf8_text.h"

#include <QScopeGuard>

namespace {

// Every picture of a fresh download was planned by the page loop, in this
// order; otherwise those not on disk are fetched ahead now.
void planPictures(DownloadRun& run, const QList<bool>& onDisk) {
    if (run.picturesAhead)
        return;
    QList<ByteText> toFetch;
    for (int i = 0; i < onDisk.size(); ++i)
        if (!onDisk.at(i))
            toFetch.append(run.st.ImageList.at(i));
    run.pool = run.fetchAhead(toFetch);
}

// The count is taken once, at the start. A failed or stopped fetch leaves no
// file: the archive never holds an empty picture or an error page in place
// of a real one. Leaving the loop ends every fetch still running.
StepOutcome fetchPictures(DownloadRun& run, const ByteText& host, bool reportError) {
    WorkflowState& st = run.st;
    run.DC.RHost(host);
    const int count = st.ImageCount;
    const QList<bool> onDisk = PicturesOnDisk(run);
    run.report.picturesFetched = true;
    planPictures(run, onDisk);
    auto endFetches = qScopeGuard([&run] { run.pool.reset(); });
    for (int i = 1; i <= count; ++i) {
        if (!st.Downloading)
            return StepOutcome::done();
        const ByteText& path = st.ImageList.at(i - 1);
        const QString file = st.IssueFolder + "/img/" + FileNameOf(ImageFileName(path));
        if (onDisk.at(i - 1)) {
            ++run.report.picturesSaved;
            continue;
        }
        run.setStat(workflow_text::ImageCounter(i, count));
        st.PageText = run.fetch(path);
        if (st.PageText == "stop")
            continue;
        if (!DeliveredWithBody(st.PageText)) {
            run.report.failedPaths.append(path);
            if (run.settings.IgnoreErrors)
                continue;
            if (reportError)
                run.setStat(U("Ошибка при загрузке"));
            run.view.ResetControls();
            return StepOutcome::done();
        }
        if (!WriteIssueFile(file, ExtractBody(st.PageText))) {
            // The fetches still running end with the download, once the
            // failure has been told.
            endFetches.dismiss();
            return StepOutcome::failed(workflow_text::WriteError(file));
        }
        ++run.report.picturesSaved;
        run.view.PictureDone(i, count);
    }
    return StepOutcome::done();
}

} // namespace

StepOutcome LoadPictures(DownloadRun& run, const ByteText& host, bool reportError) {
    if (!run.settings.DownloadImages)
        return StepOutcome::done();
    const StepOutcome fetched = fetchPictures(run, host, reportError);
    if (!fetched.isDone())
        return fetched;
    run.complete = run.complete && run.report.picturesSaved == run.st.ImageCount;
    // With every picture in, the index no longer says the issue is incomplete.
    if (PicturesFollow(run) && run.complete)
        return WriteIndex(run, true);
    return StepOutcome::done();
}
