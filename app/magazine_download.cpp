#include "app/magazine_download.h"

#include "app/issue_choice.h"
#include "app/issue_pages.h"
#include "app/issue_pictures.h"
#include "app/workflow.h"
#include "app/workflow_text.h"
#include "net/download_control.h"
#include "net/response.h"
#include "processing/safe_file_name.h"
#include "settings/utf8_text.h"

namespace {

// The fewest articles a downloadable issue has.
constexpr int MinArticles = 4;

// The issues of the archive's main page: its list below the archive's
// heading. False when the page has none (its layout changed).
bool findIssues(DownloadRun& run) {
    const qsizetype marker = run.st.PageText.indexOf(W("<h3>Архив \"Зенитры\"</h3>"));
    if (marker < 0)
        return false;
    FindMagazineLinks(run.scan, run.st.PageText.mid(marker), true, run.app.sites.MagazineMain);
    run.st.LatestIssue = run.scan.NumberList.value(0);
    return true;
}

StepOutcome layoutChanged(DownloadRun& run) {
    const QString host = cp1251::toUnicode(run.app.sites.MagazineArchive);
    run.messenger.Show(U("Ошибка при обработке страницы ") +
                           cp1251::toUnicode(SiteAddress(run.app.sites.MagazineArchive)) +
                           U("/. Изменился формат страницы."),
                       U("Error processing page"), MessageIcon::Error);
    return StepOutcome::failed(U("Ошибка обработки ") + host);
}

// Every listed issue's cover, in the temp folder for the selection window.
StepOutcome loadCovers(DownloadRun& run) {
    WorkflowState& st = run.st;
    run.DC.RHost(run.app.sites.MagazineMain);
    st.CoverFiles.clear();
    for (int i = 1; i <= run.scan.LinkCount; ++i) {
        if (!st.Downloading)
            return StepOutcome::stopped();
        const ByteText cover = run.scan.CoverList.value(i - 1);
        st.CoverFiles.append(CoverFileName(run.scan.NumberList.value(i - 1), cover));
        run.setStat(workflow_text::CoverCounter(i, run.scan.LinkCount));
        const ByteText result = run.DC.Down(cover, run.settings.UseCashe);
        // An error answer is no cover: the selection shows the placeholder.
        st.PageText = Delivered(result) ? ExtractBody(result) : ByteText();
        const QString file = st.TempFolder + "/" + FileNameOf(st.CoverFiles.last());
        if (!st.PageText.isEmpty() && !WriteIssueFile(file, st.PageText))
            return StepOutcome::failed(workflow_text::WriteError(file));
    }
    run.scan.ArchiveCount = run.scan.LinkCount;
    return StepOutcome::done();
}

// The issue is not to be had yet; another may be chosen next time.
StepOutcome refusal(DownloadRun& run) {
    run.setStat(U("Номер недоступен для загрузки"));
    run.messenger.Show(workflow_text::MagazineRefusal(),
                       U("Выбранный номер недоступен для загрузки"), MessageIcon::Information);
    return StepOutcome::failed();
}

} // namespace

StepOutcome MagazineMainPage(DownloadRun& run) {
    if (!MainPageArrived(run.st))
        return StepOutcome::failed(U("Ошибка при загрузке главной страницы"));
    if (!findIssues(run))
        return layoutChanged(run);
    return loadCovers(run);
}

StepOutcome LoadMagazineContents(DownloadRun& run) {
    WorkflowState& st = run.st;
    run.setStat(U("Загрузка оглавления..."));
    run.DC.RHost(run.app.sites.MagazineArchive);
    st.IssueNumber = run.scan.NumberList.value(st.SelectedIssue - 1);
    st.IssuePath = run.scan.LinkList.value(st.SelectedIssue - 1);
    st.PageText = run.DC.Down(st.IssuePath, run.settings.UseCashe);
    if (st.PageText == "stop")
        return StepOutcome::stopped();
    // An error answer (a redirect, a server error) is no table of contents.
    if (!Delivered(st.PageText))
        return ContentsFailure(run);
    st.ImageCount = 0;
    st.ImageList.clear();
    // An announced issue is never entered: its page loop would only leave
    // an empty issue folder in the archive.
    if (st.PageText.contains(W("пока доступен только в виде редакционного анонса")))
        return refusal(run);
    const qsizetype theme = st.PageText.indexOf(W("Тема номера"));
    if (theme < 0)
        return StepOutcome::failed(U("Ошибка при загрузке"));
    MagazineArticles articles = ScanMagazineArticles(st.PageText, theme, st.IssuePath, MaxPages);
    st.PagePaths = articles.paths;
    st.MagazineTitles = articles.titles;
    st.PageTitles = articles.annotations;
    st.PageCount = int16_t(st.PagePaths.size());
    return st.PageCount >= MinArticles ? StepOutcome::done() : refusal(run);
}

StepOutcome LoadMagazinePages(DownloadRun& run) {
    run.DC.RHost(run.app.sites.MagazineArchive);
    PageSource source;
    // Each article's print form; the path asked for is the one recorded.
    source.path = [&run](int n) {
        ByteText& path = run.st.PagePaths[n - 1];
        path = "/print/offline" + run.st.IssuePath + path;
        return path;
    };
    source.collectPictures = CollectMagazineImageLinks;
    return LoadPages(run, source);
}

void CollectMagazineImageLinks(DownloadRun& run) {
    FindMagazineLinks(run.scan, run.st.PageText, false);
    run.appendPictures(run.scan.LinkList.mid(0, run.scan.LinkCount));
}

StepOutcome LoadMagazineImages(DownloadRun& run) {
    // A failed picture leaves the picture counter in the status line.
    return LoadPictures(run, run.app.sites.MagazineArchive, false);
}
