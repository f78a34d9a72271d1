#include "app/issue_pages.h"

#include "app/issue_indexes.h"
#include "app/issue_resume.h"
#include "app/workflow.h"
#include "app/workflow_text.h"
#include "net/response.h"
#include "processing/safe_file_name.h"
#include "settings/utf8_text.h"

namespace {

QString pageFile(const DownloadRun& run, int n) {
    return run.st.IssueFolder + "/page" + QString::number(n) + ".html";
}

// Every page's path, asked once; the pages an earlier run saved are not
// fetched ahead.
QList<ByteText> planPages(DownloadRun& run, const PageSource& source) {
    QList<ByteText> paths, toFetch;
    for (int n = 1; n <= run.st.PageCount; ++n) {
        paths.append(source.path(n));
        if (!PageSavedEarlier(run, n, paths.last()))
            toFetch.append(paths.last());
    }
    run.pool = run.fetchAhead(toFetch);
    // A resumed download first learns which pictures are on disk from the
    // whole list, so only a fresh one fetches them ahead.
    run.picturesAhead = run.pool && run.settings.DownloadImages && !run.resuming;
    return paths;
}

// With AllwaysIndex the index still lists the pages that did arrive.
StepOutcome pageFailure(DownloadRun& run) {
    return StepOutcome::failed(U("Ошибка при загрузке")).then([&run] {
        return run.settings.AllwaysIndex ? WriteIndex(run, false) : StepOutcome::done();
    });
}

// The script's rewrite of one page, with the source's own change, its links
// to pictures leading to the files they are saved as, and the links to its
// neighbours in place.
ByteText processedPage(DownloadRun& run, const PageSource& source, const ByteText& body, int n,
                       const QList<ByteText>& pictures) {
    ByteText page = run.processor.ProcessPage(body, run.st.CurrentSource, run.settings.FileScript);
    if (source.touchUp)
        source.touchUp(page);
    LinkSitePicturesApart(page);
    LinkShortenedPictures(page, pictures);
    LinkNeighbours(page, n, run.st.PageCount);
    return page;
}

enum class PageWrite { Nothing, Saved, Failed };

// A failed or stopped page writes nothing.
PageWrite writePage(DownloadRun& run, int n, const ByteText& page) {
    if (page.isEmpty() || page == "error")
        return PageWrite::Nothing;
    if (!WriteIssueFile(pageFile(run, n), page + "\r\n"))
        return PageWrite::Failed;
    ++run.report.pagesSaved;
    return PageWrite::Saved;
}

// Page n from the site: fetch, judge, collect the pictures, process, write.
StepOutcome loadPage(DownloadRun& run, const PageSource& source, int n, const ByteText& path) {
    WorkflowState& st = run.st;
    st.PageText = run.fetch(path);
    if (st.PageText != "stop" && !DeliveredWithBody(st.PageText)) {
        // An error answer (a redirect, a server error) is no page either.
        st.PageText = "error";
        run.complete = false;
        run.report.failedPaths.append(path);
        if (!run.settings.IgnoreErrors)
            return pageFailure(run);
    }
    run.view.Repaint();
    st.PageText = ExtractBody(st.PageText);
    const qsizetype picturesBefore = st.ImageList.size();
    source.collectPictures(run);
    const QList<ByteText> pictures = st.ImageList.mid(picturesBefore);
    if (run.picturesAhead)
        run.pool->Append(pictures);
    st.PageText = processedPage(run, source, st.PageText, n, pictures);
    const PageWrite written = writePage(run, n, st.PageText);
    if (written == PageWrite::Failed)
        return StepOutcome::failed(workflow_text::WriteError(pageFile(run, n)));
    if (written == PageWrite::Saved)
        run.record.Add(n, st.PageCount, path, pictures);
    run.view.PageDone(n, st.PageCount, run.settings.DownloadImages ? st.ImageCount : 0);
    return StepOutcome::done();
}

} // namespace

StepOutcome LoadPages(DownloadRun& run, const PageSource& source) {
    run.complete = true;
    const QList<ByteText> paths = planPages(run, source);
    for (int n = 1; n <= run.st.PageCount; ++n) {
        if (!run.st.Downloading)
            return StepOutcome::stopped();
        run.setStat(workflow_text::PageCounter(n, run.st.PageCount));
        const ByteText& path = paths.at(n - 1);
        if (PageFromEarlierRun(run, n, path))
            continue;
        StepOutcome page = loadPage(run, source, n, path);
        if (!page.isDone())
            return page;
    }
    return StepOutcome::done();
}
