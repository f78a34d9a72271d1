// The magazine's steps: the issue list and covers of the main page, the
// table of contents with its announcement test and article scan, the page
// loop under "/print/offline" and the images.
#include "app/issue_folder.h"
#include "app/workflow.h"
#include "net/download_control.h"
#include "net/response.h"
#include "processing/safe_file_name.h"
#include "settings/utf8_text.h"

namespace {

// The fewest articles a downloadable issue has.
constexpr int MinArticles = 4;

} // namespace

void IssueDownload::magazineMainPage() {
    if (st_.PageText.isEmpty() || st_.PageText == "error") {
        setStat(U("Ошибка при загрузке главной страницы"));
        view_.ResetControls();
        return;
    }
    const qsizetype marker = st_.PageText.indexOf(W("<h3>Архив \"Зенитры\"</h3>"));
    if (marker < 0) {
        const QString host = cp1251::toUnicode(app_.sites.MagazineArchive);
        messenger_.Show(U("Ошибка при обработке страницы ") +
                            cp1251::toUnicode(SiteAddress(app_.sites.MagazineArchive)) +
                            U("/. Изменился формат страницы."),
                        U("Error processing page"), MessageIcon::Error);
        setStat(U("Ошибка обработки ") + host);
        view_.ResetControls();
        return;
    }
    FindMagazineLinks(scan_, st_.PageText.mid(marker), true, app_.sites.MagazineMain);
    st_.LatestIssue = scan_.NumberList.value(0);
    DC.RHost(app_.sites.MagazineMain);
    st_.CoverFiles.clear();
    for (int i = 1; i <= scan_.LinkCount; ++i) {
        if (!st_.Downloading)
            return;
        const ByteText cover = scan_.CoverList.value(i - 1);
        st_.CoverFiles.append(CoverFileName(scan_.NumberList.value(i - 1), cover));
        setStat(workflow_text::CoverCounter(i, scan_.LinkCount));
        const ByteText result = DC.Down(cover, settings_.UseCashe);
        // An error answer is no cover: the selection shows the placeholder.
        st_.PageText = Delivered(result) ? ExtractBody(result) : ByteText();
        const QString file = st_.TempFolder + "/" + FileNameOf(st_.CoverFiles.last());
        if (!st_.PageText.isEmpty() && !WriteIssueFile(file, st_.PageText)) {
            endWithWriteError(file);
            return;
        }
    }
    scan_.ArchiveCount = scan_.LinkCount;
    setStat(U("Выбор номера для загрузки."));
    openSelection(false);
}

void IssueDownload::LoadMagazineContents() {
    setStat(U("Загрузка оглавления..."));
    DC.RHost(app_.sites.MagazineArchive);
    st_.IssueNumber = scan_.NumberList.value(st_.SelectedIssue - 1);
    st_.IssuePath = scan_.LinkList.value(st_.SelectedIssue - 1);
    st_.PageText = DC.Down(st_.IssuePath, settings_.UseCashe);
    if (st_.PageText == "stop")
        return;
    // An error answer (a redirect, a server error) is no table of contents.
    if (!Delivered(st_.PageText)) {
        setStat(U("Ошибка при загрузке"));
        view_.ResetControls();
        reportContentsError();
        return;
    }
    st_.ImageCount = 0;
    st_.ImageList.clear();

    const bool announced =
        st_.PageText.contains(W("пока доступен только в виде редакционного анонса"));
    if (announced) {
        setStat(U("Номер недоступен для загрузки"));
        messenger_.Show(workflow_text::MagazineRefusal(),
                        U("Выбранный номер недоступен для загрузки"), MessageIcon::Information);
        view_.ResetControls();
        // An announced issue is never entered: its page loop would only
        // leave an empty issue folder in the archive.
        return;
    }
    const qsizetype theme = st_.PageText.indexOf(W("Тема номера"));
    if (theme < 0) {
        setStat(U("Ошибка при загрузке"));
        view_.ResetControls();
        return;
    }

    MagazineArticles articles = ScanMagazineArticles(st_.PageText, theme, st_.IssuePath, MaxPages);
    st_.PagePaths = articles.paths;
    st_.MagazineTitles = articles.titles;
    st_.PageTitles = articles.annotations;
    st_.PageCount = int16_t(st_.PagePaths.size());
    if (st_.PageCount >= MinArticles) {
        LoadMagazinePages();
        return;
    }
    setStat(U("Номер недоступен для загрузки"));
    messenger_.Show(workflow_text::MagazineRefusal(), U("Выбранный номер недоступен для загрузки"),
                    MessageIcon::Information);
    view_.ResetControls();
}

void IssueDownload::LoadMagazinePages() {
    openIssueFolder();
    DC.RHost(app_.sites.MagazineArchive);
    const auto pagePath = [this](int n) {
        ByteText& path = st_.PagePaths[n - 1];
        path = "/print/offline" + st_.IssuePath + path;
        return path;
    };
    loadIssue(pagePath, &IssueDownload::CollectMagazineImageLinks);
}

void IssueDownload::CollectMagazineImageLinks() {
    FindMagazineLinks(scan_, st_.PageText, false);
    appendImages();
}

bool IssueDownload::LoadMagazineImages() {
    // A failed picture leaves the picture counter in the status line.
    return loadImages(app_.sites.MagazineArchive, false);
}
