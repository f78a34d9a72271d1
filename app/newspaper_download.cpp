#include "app/newspaper_download.h"

#include "app/issue_choice.h"
#include "app/issue_pages.h"
#include "app/issue_pictures.h"
#include "app/workflow.h"
#include "net/download_control.h"
#include "settings/utf8_text.h"

namespace {

// The newspaper's main page failed: the user may still name the issue.
StepOutcome offerLoadByNumber(DownloadRun& run) {
    const MessageAnswer answer = run.messenger.Show(
        U("Не удалось загрузить и(или) обработать главную страницу сайта ") +
            cp1251::toUnicode(run.app.sites.Newspaper) +
            U(". Вы можете попытаться загрузить нужный выпуск газеты по номеру, но это не "
              "гарантирует его успешной загрузки.\r\n\r\nПопытаться загрузить выпуск по точному "
              "номеру?"),
        U("Внимание!"), MessageIcon::Error, MessageButtons::YesNo);
    // The status line already says the main page failed.
    if (answer != MessageAnswer::Yes)
        return StepOutcome::failed();
    run.byNumberOnly = true;
    return StepOutcome::done();
}

StepOutcome loadArchiveList(DownloadRun& run) {
    run.setStat(U("Загрузка архива номеров..."));
    run.DC.RHost(run.app.sites.Newspaper);
    run.st.PageText = run.DC.Down("/daily/archive/", false);
    if (run.st.PageText == "stop")
        return StepOutcome::stopped();
    if (run.st.PageText == "error") {
        // Without the archive the newest issue is still offered; the list
        // of other issues stays empty.
        run.scan.ArchiveNumbers.clear();
        run.scan.ArchiveDates.clear();
        run.scan.ArchiveCount = 0;
    } else {
        ParseNewspaperArchive(run.scan, run.st.PageText);
    }
    return StepOutcome::done();
}

// The issue's pages from the table of contents in scan: every link of the
// issue, in its print form.
void listPages(DownloadRun& run) {
    WorkflowState& st = run.st;
    for (int i = 0; i < run.scan.LinkCount && st.PagePaths.size() < MaxPages; ++i) {
        if (!LinkOfIssue(run.scan.LinkList.at(i), st.IssueNumber))
            continue;
        st.PagePaths.append(run.scan.LinkList.at(i) + "/print/");
        st.PageTitles.append(run.scan.TitleList.at(i));
    }
    st.PageCount = int16_t(st.PagePaths.size());
}

// The site's logo on every page gives way to the issue date.
void dateInPlaceOfLogo(const DownloadRun& run, ByteText& page) {
    const ByteText logo = "<a href=\"" + SiteAddress(run.app.sites.Newspaper) +
                          "\"><img src=\"/_img/logo.gif\" alt=\"" + W("ЉЏ") +
                          "\" style=\"border:none;\" /></a>";
    page.replace(logo, run.st.IssueDate);
}

} // namespace

StepOutcome NewspaperMainPage(DownloadRun& run) {
    WorkflowState& st = run.st;
    if (!MainPageArrived(st))
        return offerLoadByNumber(run);
    FindNewspaperLinks(run.scan, st.PageText, true);
    st.LatestIssue = NewestIssueOfHeadings(run.scan);
    // An unattended run would press "Загрузка" on no number at all and take
    // every heading of the site for a page: a main page that names no issue
    // (an error answer, another layout) is one that could not be processed.
    if (st.LatestIssue.isEmpty() && (st.AutoNewspaper || st.AutoMagazine)) {
        run.setStat(U("Ошибка при загрузке главной страницы"));
        return offerLoadByNumber(run);
    }
    return loadArchiveList(run);
}

StepOutcome LoadFirstPage(DownloadRun& run) {
    WorkflowState& st = run.st;
    run.setStat(U("Загрузка оглавления..."));
    run.DC.RHost(run.app.sites.Newspaper);
    st.PageText = run.DC.Down("/daily/" + st.IssueNumber, run.settings.UseCashe);
    if (st.PageText == "stop")
        return StepOutcome::stopped();
    // An error answer (a redirect, a server error) is no table of contents.
    if (!Delivered(st.PageText)) {
        run.view.SetClockRunning(false);
        return ContentsFailure(run);
    }
    FindNewspaperLinks(run.scan, st.PageText, true);
    st.PageCount = 0;
    st.ImageCount = 0;
    st.ImageList.clear();
    st.PagePaths.clear();
    st.PageTitles.clear();
    // No issue behind this table of contents: say so and go back to idle
    // instead of leaving the window in its downloading state.
    if (run.scan.LinkCount <= 2)
        return StepOutcome::failed(U("Ошибка при загрузке"));
    listPages(run);
    if (st.PageCount <= 20)
        run.messenger.Show(U("На сайте ") +
                               cp1251::toUnicode(SiteAddress(run.app.sites.Newspaper)) +
                               U(" технические неполадки.\r\nУспешная загрузка номера не "
                                 "гарантируется!"),
                           U("Внимание!"), MessageIcon::Information);
    st.IssueDate =
        !st.IssueDateOverride.isEmpty() ? st.IssueDateOverride : FindNewspaperDate(st.PageText);
    st.IssueDateNumeric = DateToNumeric(st.IssueDate);
    return StepOutcome::done();
}

StepOutcome LoadAllPage(DownloadRun& run) {
    PageSource source;
    source.path = [&run](int n) { return run.st.PagePaths.at(n - 1); };
    source.collectPictures = CollectImageLinks;
    source.touchUp = [&run](ByteText& page) { dateInPlaceOfLogo(run, page); };
    return LoadPages(run, source);
}

void CollectImageLinks(DownloadRun& run) {
    FindNewspaperLinks(run.scan, run.st.PageText, false);
    run.appendPictures(run.scan.LinkList.mid(0, run.scan.LinkCount));
}

StepOutcome LoadAllImages(DownloadRun& run) {
    return LoadPictures(run, run.app.sites.Newspaper, true);
}
