#include "app/workflow.h"

#include "app/archive_upkeep.h"
#include "app/check_in_archive.h"
#include "app/issue_folder.h"
#include "net/download_control.h"
#include "net/fetch_pool.h"
#include "net/hang_up.h"
#include "net/proxy_settings.h"
#include "net/response.h"
#include "processing/issue_index.h"
#include "processing/safe_file_name.h"
#include "search/archive_index.h"
#include "settings/utf8_text.h"

#include <QDate>
#include <QFile>
#include <QScopeGuard>
#include <cctype>

namespace {

const QString Attention = QString::fromUtf8("Внимание!");
const QString Confirmation = QString::fromUtf8("Подтверждение");

} // namespace

bool Delivered(const ByteText& result) {
    if (!result.startsWith("HTTP/"))
        return false;
    const qsizetype blank = result.indexOf(' ');
    const qsizetype lineEnd = result.indexOf('\n');
    if (blank < 0 || (lineEnd >= 0 && blank > lineEnd) || result.size() < blank + 4)
        return false;
    const ByteText code = result.mid(blank + 1, 3);
    return code[0] == '2' && std::isdigit(uchar(code[1])) && std::isdigit(uchar(code[2]));
}

bool DeliveredWithBody(const ByteText& result) {
    const qsizetype headerEnd = result.indexOf("\r\n\r\n");
    return Delivered(result) && headerEnd >= 0 && headerEnd + 4 < result.size();
}

IssueDownload::IssueDownload(AppState& app, Download_Control& dc, Messenger& messenger,
                             DownloadView& view, Hang_Up& hangUp)
    : app_(app), st_(app.state), settings_(app.settings), DC(dc), messenger_(messenger),
      view_(view), hangUp_(hangUp), processor_(messenger) {
    processor_.setShippedScript(app.ProgramFolder + "/data/script.txt");
    QObject::connect(&DC, &Download_Control::connectionFailed, &receiver_,
                     [this](const QString& reason) {
                         if (!report_.reasons.contains(reason))
                             report_.reasons.append(reason);
                     });
}

void IssueDownload::Start() {
    PrepareStart();
    if (CheckNewVersion())
        LoadMainPage();
}

void IssueDownload::PrepareStart() {
    HandProxySettings(DC, settings_);
    // A date picked in the list belongs to the download it was picked for.
    st_.IssueDateOverride.clear();
    report_ = DownloadReport();
}

void IssueDownload::setStat(const QString& text) {
    view_.SetStat(text);
}

ByteText IssueDownload::sourceHost() const {
    return st_.CurrentSource == MagazineSource ? app_.sites.MagazineArchive : app_.sites.Newspaper;
}

// The proxy refused the login: every later fetch would be refused too, and
// its error page is no site page, so the download ends here.
void IssueDownload::endWithProxyRefusal() {
    setStat(U("Ошибка авторизации на прокси-сервере"));
    view_.ResetControls();
    messenger_.Show(workflow_text::ProxyRefusal(settings_.ProxyName, settings_.ProxyPort),
                    U("Ошибка"), MessageIcon::Error);
}

void IssueDownload::LoadMainPage() {
    setStat(U("Загрузка главной страницы..."));
    DC.RHost(sourceHost());
    ByteText& remembered = st_.RememberedMainPage[st_.CurrentSource - 1];
    st_.PageText.clear();
    if (settings_.QuickDownload && !remembered.isEmpty() && remembered != "error")
        st_.PageText = remembered;
    if (st_.PageText.isEmpty())
        st_.PageText = DC.Down("/", false);
    if (st_.PageText == "error" && DC.ProxyRefused()) {
        endWithProxyRefusal();
        return;
    }
    // The user stopped the fetch: the stop has already returned the window
    // to idle and said so; a "stop" is no main page.
    if (st_.PageText == "stop")
        return;
    const bool present = !st_.PageText.isEmpty() && st_.PageText != "error";
    if (settings_.QuickDownload && present)
        remembered = st_.PageText;
    if (!present)
        setStat(U("Ошибка при загрузке главной страницы"));

    if (st_.CurrentSource == MagazineSource) {
        magazineMainPage();
        return;
    }
    if (present) {
        newspaperMainPage();
        return;
    }
    offerLoadByNumber();
}

// The newspaper's main page failed: the user may still name the issue.
void IssueDownload::offerLoadByNumber() {
    const MessageAnswer answer = messenger_.Show(
        U("Не удалось загрузить и(или) обработать главную страницу сайта ") +
            cp1251::toUnicode(app_.sites.Newspaper) +
            U(". Вы можете попытаться загрузить нужный выпуск газеты по номеру, но это не "
              "гарантирует его успешной загрузки.\r\n\r\nПопытаться загрузить выпуск по точному "
              "номеру?"),
        Attention, MessageIcon::Error, MessageButtons::YesNo);
    if (answer != MessageAnswer::Yes) {
        view_.ResetControls();
        return;
    }
    setStat(U("Выбор номера для загрузки."));
    openSelection(true);
}

void IssueDownload::openSelection(bool byNumberOnly) {
    SelectionData data;
    data.CurrentSource = st_.CurrentSource;
    data.LatestIssue = st_.LatestIssue;
    data.ProgramFolder = app_.ProgramFolder;
    data.TempFolder = st_.TempFolder;
    data.CoverFiles = st_.CoverFiles;
    data.NumberList = scan_.NumberList;
    data.DateList = scan_.DateList;
    data.LinkCount = scan_.LinkCount;
    data.ArchiveNumbers = scan_.ArchiveNumbers;
    data.ArchiveDates = scan_.ArchiveDates;
    data.ArchiveCount = scan_.ArchiveCount;
    data.SelectedIssue = st_.SelectedIssue;
    data.Unattended = st_.AutoNewspaper || st_.AutoMagazine;
    data.ByNumberOnly = byNumberOnly;

    view_.SetClockRunning(false);
    SelectionChoice choice;
    switch (view_.OpenSelection(data, choice)) {
    case SelectionOutcome::EndProgram:
        // The run ends here; whoever started it ends the program.
        report_.end = DownloadEnd::AlreadyArchived;
        report_.archivedFolder = ArchivedIssueFolder(app_.ProgramFolder, st_.LatestIssue);
        return;
    case SelectionOutcome::Cancel:
        setStat(U("Загрузка отменена."));
        view_.ResetControls();
        return;
    case SelectionOutcome::Load:
        break;
    }
    st_.IssueNumber = choice.IssueNumber;
    st_.SelectedIssue = choice.SelectedIssue;
    st_.IssueDate = choice.IssueDate;
    st_.IssueDateNumeric = choice.IssueDateNumeric;
    st_.IssueDateOverride = choice.IssueDateOverride;
    view_.SetClockRunning(true);
    if (st_.CurrentSource == MagazineSource)
        LoadMagazineContents();
    else
        LoadFirstPage();
}

void IssueDownload::reportContentsError() {
    if (settings_.KillConnect) {
        if (messenger_.Show(workflow_text::ContentsError() + U("\r\nРазорвать соединение?"),
                            U("Ошибка"), MessageIcon::Error,
                            MessageButtons::YesNo) == MessageAnswer::Yes)
            hangUp_.HangUpAll();
    } else {
        messenger_.Show(workflow_text::ContentsError(), U("Ошибка"), MessageIcon::Error);
    }
}

// The script's rewrite of one page, with the newspaper's logo replaced by
// the issue date, its links to pictures leading to the files they are saved
// as, and the links to its neighbours in place.
ByteText IssueDownload::processedPage(const ByteText& body, int n,
                                      const QList<ByteText>& pictures) {
    ByteText page = processor_.ProcessPage(body, st_.CurrentSource, settings_.FileScript);
    if (st_.CurrentSource == NewspaperSource) {
        const ByteText logo = "<a href=\"" + SiteAddress(app_.sites.Newspaper) +
                              "\"><img src=\"/_img/logo.gif\" alt=\"" + W("ЉЏ") +
                              "\" style=\"border:none;\" /></a>";
        page.replace(logo, st_.IssueDate);
    }
    LinkSitePicturesApart(page);
    LinkShortenedPictures(page, pictures);
    LinkNeighbours(page, n, st_.PageCount);
    return page;
}

// The issue after its page list: the page loop, then its ending. Nothing
// fetched ahead outlives it.
void IssueDownload::loadIssue(const std::function<ByteText(int n)>& pagePath,
                              void (IssueDownload::*collectImages)()) {
    bool complete = true;
    if (loadPages(pagePath, collectImages, complete))
        finish(complete);
    pool_.reset();
}

// The page loop of both sources: fetch, judge, collect the pictures, process,
// write. False when the loop was left early (a stop, a page error that is
// not ignored, a page that could not be written); complete turns false when
// any page failed.
bool IssueDownload::loadPages(const std::function<ByteText(int n)>& pagePath,
                              void (IssueDownload::*collectImages)(), bool& complete) {
    // pagePath is asked once per page: the magazine's records the path it gives.
    QList<ByteText> paths, toFetch;
    for (int n = 1; n <= st_.PageCount; ++n) {
        paths.append(pagePath(n));
        if (!pageSavedEarlier(n, paths.last()))
            toFetch.append(paths.last());
    }
    pool_ = fetchAhead(toFetch);
    // A resumed download first learns which pictures are on disk from the
    // whole list, so only a fresh one fetches them ahead.
    picturesAhead_ = pool_ && settings_.DownloadImages && !resuming_;
    for (int n = 1; n <= st_.PageCount; ++n) {
        if (!st_.Downloading)
            return false;
        setStat(workflow_text::PageCounter(n, st_.PageCount));
        const ByteText& path = paths.at(n - 1);
        if (pageFromEarlierRun(n, path))
            continue;
        st_.PageText = fetch(pool_.get(), path);
        if (st_.PageText != "stop" && !DeliveredWithBody(st_.PageText)) {
            // An error answer (a redirect, a server error) is no page either.
            st_.PageText = "error";
            complete = false;
            report_.failedPaths.append(path);
            if (!settings_.IgnoreErrors) {
                setStat(U("Ошибка при загрузке"));
                view_.ResetControls();
                if (settings_.AllwaysIndex)
                    buildIndex(false);
                return false;
            }
        }
        view_.Repaint();
        st_.PageText = ExtractBody(st_.PageText);
        const qsizetype picturesBefore = st_.ImageList.size();
        (this->*collectImages)();
        if (picturesAhead_)
            pool_->Append(st_.ImageList.mid(picturesBefore));
        st_.PageText = processedPage(st_.PageText, n, st_.ImageList.mid(picturesBefore));
        const PageWrite written = writePage(n, st_.PageText);
        if (written == PageWrite::Failed) {
            endWithWriteError(pageFile(n));
            return false;
        }
        if (written == PageWrite::Saved)
            record_.Add(n, st_.PageCount, path, st_.ImageList.mid(picturesBefore));
        view_.PageDone(n, st_.PageCount, settings_.DownloadImages ? st_.ImageCount : 0);
    }
    return true;
}

// The picture loop of both sources; the count is taken once, at its start.
// A failed or stopped fetch leaves no file: the archive never holds an empty
// picture or an error page in place of a real one.
bool IssueDownload::loadImages(const ByteText& host, bool reportError) {
    DC.RHost(host);
    const int count = st_.ImageCount;
    const QList<bool> onDisk = picturesOnDisk();
    report_.picturesFetched = true;
    QList<ByteText> toFetch;
    for (int i = 0; i < count; ++i)
        if (!onDisk.at(i))
            toFetch.append(st_.ImageList.at(i));
    // Every picture of a fresh download was planned by the page loop, in
    // this order; the picture loop ends every fetch still running.
    if (!picturesAhead_)
        pool_ = fetchAhead(toFetch);
    const auto endFetches = qScopeGuard([this] { pool_.reset(); });
    for (int i = 1; i <= count; ++i) {
        if (!st_.Downloading)
            return true;
        const ByteText& path = st_.ImageList.at(i - 1);
        const QString file = st_.IssueFolder + "/img/" + FileNameOf(ImageFileName(path));
        if (onDisk.at(i - 1)) {
            ++report_.picturesSaved;
            continue;
        }
        setStat(workflow_text::ImageCounter(i, count));
        st_.PageText = fetch(pool_.get(), path);
        if (st_.PageText == "stop")
            continue;
        if (!DeliveredWithBody(st_.PageText)) {
            report_.failedPaths.append(path);
            if (settings_.IgnoreErrors)
                continue;
            if (reportError)
                setStat(U("Ошибка при загрузке"));
            view_.ResetControls();
            return true;
        }
        if (!WriteIssueFile(file, ExtractBody(st_.PageText))) {
            endWithWriteError(file);
            return false;
        }
        ++report_.picturesSaved;
        view_.PictureDone(i, count);
    }
    return true;
}

// Over a real network most of a fetch is waiting for round trips: with more
// than one connection allowed, the fetches of a loop run that many at a time
// ahead of it, from the host set now.
std::unique_ptr<FetchPool> IssueDownload::fetchAhead(const QList<ByteText>& paths) {
    if (settings_.Connections <= 1 || paths.size() < 2)
        return nullptr;
    auto pool = std::make_unique<FetchPool>(DC, settings_.Connections);
    pool->Plan(paths, settings_.UseCashe);
    return pool;
}

ByteText IssueDownload::fetch(FetchPool* pool, const ByteText& path) {
    return pool ? pool->Take(path) : DC.Down(path, settings_.UseCashe);
}

QString IssueDownload::pageFile(int n) const {
    return st_.IssueFolder + "/page" + QString::number(n) + ".html";
}

// A failed or stopped page writes nothing.
IssueDownload::PageWrite IssueDownload::writePage(int n, const ByteText& page) {
    if (page.isEmpty() || page == "error")
        return PageWrite::Nothing;
    if (!WriteIssueFile(pageFile(n), page + "\r\n"))
        return PageWrite::Failed;
    ++report_.pagesSaved;
    return PageWrite::Saved;
}

void IssueDownload::endWithWriteError(const QString& path) {
    setStat(workflow_text::WriteError(path));
    view_.ResetControls();
}

void IssueDownload::appendImages() {
    appendPictures(scan_.LinkList.mid(0, scan_.LinkCount));
}

void IssueDownload::appendPictures(const QList<ByteText>& paths) {
    for (qsizetype i = 0; i < paths.size() && st_.ImageList.size() < MaxImages; ++i)
        st_.ImageList.append(paths.at(i));
    st_.ImageCount = int16_t(st_.ImageList.size());
}

// False when the index or a companion file could not be written: the
// download has ended.
bool IssueDownload::buildIndex(bool complete) {
    IssueIndexInput in;
    in.CurrentSource = st_.CurrentSource;
    in.IssueDate = st_.IssueDate;
    in.IssueNumber = st_.IssueNumber;
    in.PageCount = st_.PageCount;
    in.IssueFolder = st_.IssueFolder;
    in.PagePaths = st_.PagePaths;
    in.PageTitles = st_.PageTitles;
    in.MagazineTitles = st_.MagazineTitles;
    in.TempFolder = st_.TempFolder;
    in.CoverFiles = st_.CoverFiles;
    in.SelectedIssue = st_.SelectedIssue;
    const IssueIndexResult index = BuildIssueIndex(complete, in, app_.ProgramFolder, app_.sites);
    st_.PageText = index.page;
    if (index.failedPath.isEmpty())
        return true;
    endWithWriteError(index.failedPath);
    return false;
}

// The search index learns the pages that arrived, an incomplete issue's
// too; its next download replaces them. The index is derived data: what
// goes wrong with it is shown and the download goes on.
IssueDownload::AsideIndexing IssueDownload::indexAside() const {
    AsideIndexing aside;
    aside.outcome = std::async(std::launch::async, search::IndexIssue, app_.ProgramFolder,
                               st_.IssueFolder, search::IndexProgress::Reporter(aside.progress));
    return aside;
}

void IssueDownload::indexForSearch(AsideIndexing& aside) {
    setStat(U("Индексация номера для поиска..."));
    if (!aside.outcome.valid())
        aside = indexAside();
    // The window goes on answering meanwhile, and counts the issues of an
    // archive that is indexed whole first (the first run of a version with
    // search, a deleted or damaged index).
    const search::IndexOutcome outcome = search::WaitAnswering(
        aside.outcome, *aside.progress, [this](const QString& text) { setStat(text); });
    // In the status line only: standard error of an unattended run is for
    // what went wrong with the download.
    if (!outcome.note.isEmpty())
        setStat(outcome.note);
}

void IssueDownload::askToHangUp() {
    if (settings_.KillConnect &&
        messenger_.Show(U("Разорвать соединение?"), Confirmation, MessageIcon::Question,
                        MessageButtons::YesNo) == MessageAnswer::Yes)
        hangUp_.HangUpAll();
}

// Reached only when every page was attempted.
void IssueDownload::finish(bool complete) {
    // Until its pictures are in, the index says the issue is incomplete, so
    // a run that ends meanwhile (killed, a power cut) leaves an issue that the
    // next download completes instead of counting it as archived.
    const bool picturesFollow = settings_.DownloadImages && st_.ImageCount > 0;
    if (!buildIndex(complete && !picturesFollow))
        return;
    // Every page is in and listed: they go into the search index on another
    // thread while the pictures arrive. Whichever way this step ends, the
    // indexing is waited for (a future of std::async waits when dropped).
    AsideIndexing indexing;
    if (picturesFollow)
        indexing = indexAside();
    if (settings_.DownloadImages) {
        const bool written =
            st_.CurrentSource == MagazineSource ? LoadMagazineImages() : LoadAllImages();
        if (!written)
            return;
        complete = complete && report_.picturesSaved == st_.ImageCount;
        if (picturesFollow && complete && !buildIndex(true))
            return;
    }
    if (complete)
        record_.Remove();
    indexForSearch(indexing);
    view_.ResetControls();
    if (settings_.AutoCopy)
        report_.copyFailed = !NumberCopy(st_.IssueFolder, settings_, app_.ProgramFolder, messenger_,
                                         [this](const QString& text) {
                                             setStat(text);
                                             view_.Repaint();
                                         });
    if (st_.StopRequested) {
        report_.end = DownloadEnd::Stopped;
        setStat(U("Загрузка прервана пользователем"));
        askToHangUp();
        return;
    }
    ArchiveUpkeep(app_, messenger_, makeBook, [this](const QString& text) { setStat(text); });
    // An incomplete issue keeps the cached responses, so its next download
    // fetches only what is still missing.
    if (settings_.ClearCasheDown && complete)
        DC.ClearCashe();
    if (settings_.KillConnect)
        hangUp_.HangUpAll();
    report_.end = complete ? DownloadEnd::Complete : DownloadEnd::Incomplete;
    setStat(U("Номер загружен"));
    view_.OfferIssue(st_.IssueFolder);
    const bool unattended = (st_.CurrentSource == NewspaperSource && st_.AutoNewspaper) ||
                            (st_.CurrentSource == MagazineSource && st_.AutoMagazine);
    view_.IssueArrived({st_.CurrentSource, cp1251::toUnicode(st_.IssueDate),
                        cp1251::toUnicode(st_.IssueNumber), st_.IssueFolder, complete, unattended});
}
