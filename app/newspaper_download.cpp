// The newspaper's steps: newest issue and archive list from the main page,
// the table of contents, the page loop and the images.
#include "app/issue_folder.h"
#include "app/workflow.h"
#include "net/download_control.h"
#include "net/response.h"
#include "settings/utf8_text.h"

void IssueDownload::newspaperMainPage() {
    FindNewspaperLinks(scan_, st_.PageText, true);
    st_.LatestIssue = NewestIssueOfHeadings(scan_);
    // An unattended run would press "Загрузка" on no number at all and take
    // every heading of the site for a page: a main page that names no issue
    // (an error answer, another layout) is one that could not be processed.
    if (st_.LatestIssue.isEmpty() && (st_.AutoNewspaper || st_.AutoMagazine)) {
        setStat(U("Ошибка при загрузке главной страницы"));
        offerLoadByNumber();
        return;
    }

    setStat(U("Загрузка архива номеров..."));
    DC.RHost(app_.sites.Newspaper);
    st_.PageText = DC.Down("/daily/archive/", false);
    if (st_.PageText == "stop")
        return;
    if (st_.PageText == "error") {
        // Without the archive the newest issue is still offered; the list
        // of other issues stays empty.
        scan_.ArchiveNumbers.clear();
        scan_.ArchiveDates.clear();
        scan_.ArchiveCount = 0;
    } else {
        ParseNewspaperArchive(scan_, st_.PageText);
    }
    setStat(U("Выбор номера для загрузки."));
    openSelection(false);
}

void IssueDownload::LoadFirstPage() {
    setStat(U("Загрузка оглавления..."));
    DC.RHost(app_.sites.Newspaper);
    st_.PageText = DC.Down("/daily/" + st_.IssueNumber, settings_.UseCashe);
    if (st_.PageText == "stop")
        return;
    // An error answer (a redirect, a server error) is no table of contents.
    if (!Delivered(st_.PageText)) {
        setStat(U("Ошибка при загрузке"));
        view_.SetClockRunning(false);
        view_.ResetControls();
        reportContentsError();
        return;
    }
    FindNewspaperLinks(scan_, st_.PageText, true);
    st_.PageCount = 0;
    st_.ImageCount = 0;
    st_.ImageList.clear();
    st_.PagePaths.clear();
    st_.PageTitles.clear();
    if (scan_.LinkCount <= 2) {
        // No issue behind this table of contents: say so and go back to idle
        // instead of leaving the window in its downloading state.
        setStat(U("Ошибка при загрузке"));
        view_.ResetControls();
        return;
    }
    for (int i = 0; i < scan_.LinkCount && st_.PagePaths.size() < MaxPages; ++i) {
        if (!LinkOfIssue(scan_.LinkList.at(i), st_.IssueNumber))
            continue;
        st_.PagePaths.append(scan_.LinkList.at(i) + "/print/");
        st_.PageTitles.append(scan_.TitleList.at(i));
    }
    st_.PageCount = int16_t(st_.PagePaths.size());
    if (st_.PageCount <= 20)
        messenger_.Show(U("На сайте ") + cp1251::toUnicode(SiteAddress(app_.sites.Newspaper)) +
                            U(" технические неполадки.\r\nУспешная загрузка номера не "
                              "гарантируется!"),
                        U("Внимание!"), MessageIcon::Information);
    st_.IssueDate =
        !st_.IssueDateOverride.isEmpty() ? st_.IssueDateOverride : FindNewspaperDate(st_.PageText);
    st_.IssueDateNumeric = DateToNumeric(st_.IssueDate);
    LoadAllPage();
}

void IssueDownload::LoadAllPage() {
    openIssueFolder();
    const auto pagePath = [this](int n) { return st_.PagePaths.at(n - 1); };
    loadIssue(pagePath, &IssueDownload::CollectImageLinks);
}

void IssueDownload::CollectImageLinks() {
    FindNewspaperLinks(scan_, st_.PageText, false);
    appendImages();
}

bool IssueDownload::LoadAllImages() {
    return loadImages(app_.sites.Newspaper, true);
}
