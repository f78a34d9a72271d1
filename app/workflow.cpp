#include "app/workflow.h"

#include "app/issue_folder.h"
#include "net/download_control.h"
#include "net/hang_up.h"
#include "net/proxy_settings.h"
#include "net/response.h"
#include "processing/cut_replace.h"
#include "processing/issue_index.h"
#include "processing/safe_file_name.h"
#include "settings/whole_file.h"

#include <QDate>
#include <QFile>
#include <cstdio>

namespace {

const QString Attention = QString::fromUtf8("Внимание!");
const QString Confirmation = QString::fromUtf8("Подтверждение");

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

} // namespace

// Pages and pictures do not wait for the disk: a download writes hundreds of
// them, and a file lost to a power cut is fetched again.
bool WriteIssueFile(const QString& path, const ByteText& bytes) {
    return WriteWholeFile(path, bytes, FileSync::NoWait);
}

namespace workflow_text {

QString PageCounter(int n, int count) {
    return U("Загрузка страницы %1 из %2...").arg(n).arg(count);
}
QString ImageCounter(int i, int count) {
    return U("Загрузка изображения %1 из %2...").arg(i).arg(count);
}
QString CoverCounter(int i, int count) {
    return U("Загрузка обложки %1 из %2...").arg(i).arg(count);
}
QString ContentsError() {
    return U("Ошибка при получении оглавления номера\r\nПродолжение загрузки невозможно.");
}
QString MagazineRefusal() {
    return U("Этот номер еженедельника \"Зенитра\" пока доступен только в виде редакционного "
             "анонса. Полные тексты материалов будут размещены в онлайне на следующей неделе.\r\n"
             "Вы можете загрузить один из предыдущих номеров.");
}

} // namespace workflow_text

IssueDownload::IssueDownload(AppState& app, Download_Control& dc, Messenger& messenger,
                             DownloadView& view, Hang_Up& hangUp)
    : app_(app), st_(app.state), settings_(app.settings), DC(dc), messenger_(messenger),
      view_(view), hangUp_(hangUp), processor_(messenger) {}

void IssueDownload::Start() {
    PrepareStart();
    LoadMainPage();
}

void IssueDownload::PrepareStart() {
    HandProxySettings(DC, settings_);
    // A date picked in the list belongs to the download it was picked for.
    st_.IssueDateOverride.clear();
}

void IssueDownload::setStat(const QString& text) {
    view_.SetStat(text);
}

ByteText IssueDownload::sourceHost() const {
    return st_.CurrentSource == MagazineSource ? app_.sites.MagazineArchive : app_.sites.Newspaper;
}

bool IssueDownload::fetchFailedOrStopped(const ByteText& result) const {
    return result == "error" || result == "stop";
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
        view_.EndProgram();
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
// the issue date and the links to its neighbours in place.
ByteText IssueDownload::processedPage(const ByteText& body, int n) {
    ByteText page = processor_.ProcessPage(body, st_.CurrentSource, settings_.FileScript);
    if (st_.CurrentSource == NewspaperSource) {
        const ByteText logo = "<a href=\"" + SiteAddress(app_.sites.Newspaper) +
                              "\"><img src=\"/_img/logo.gif\" alt=\"" + W("ЉЏ") +
                              "\" style=\"border:none;\" /></a>";
        page.replace(logo, st_.IssueDate);
    }
    LinkNeighbours(page, n, st_.PageCount);
    return page;
}

void LinkNeighbours(ByteText& page, int n, int count) {
    if (n == 1)
        CutBetween(page, "%prev", "page%");
    else
        ReplaceFirst(page, "%prevpage%",
                     "<td class=\"text\"><div align=\"left\"><a href=\"page" +
                         ByteText::number(n - 1) + ".html\">" + W("&lt;&lt;предыдущая ::") +
                         "</a></div>");
    if (n < count)
        ReplaceFirst(page, "%nextpage%",
                     "<td class=\"text\"><div align=\"right\"><a href=\"page" +
                         ByteText::number(n + 1) + ".html\">" + W(":: следующая&gt;&gt;") +
                         "</a></div>");
    else
        CutBetween(page, "%next", "page%");
}

// The page loop of both sources: fetch, judge, collect the pictures, process,
// write. False when the loop was left early (a stop, or a page error that is
// not ignored); complete turns false when any page failed.
bool IssueDownload::loadPages(const std::function<ByteText(int n)>& pagePath,
                              void (IssueDownload::*collectImages)(), bool& complete) {
    for (int n = 1; n <= st_.PageCount; ++n) {
        if (!st_.Downloading)
            return false;
        setStat(workflow_text::PageCounter(n, st_.PageCount));
        st_.PageText = DC.Down(pagePath(n), settings_.UseCashe);
        if (st_.PageText == "error") {
            complete = false;
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
        (this->*collectImages)();
        st_.PageText = processedPage(st_.PageText, n);
        writePage(n, st_.PageText);
    }
    return true;
}

// The picture loop of both sources; the count is taken once, at its start.
void IssueDownload::loadImages(const ByteText& host, bool reportError) {
    DC.RHost(host);
    const int count = st_.ImageCount;
    for (int i = 1; i <= count; ++i) {
        if (!st_.Downloading)
            return;
        setStat(workflow_text::ImageCounter(i, count));
        st_.PageText = DC.Down(st_.ImageList.at(i - 1), settings_.UseCashe);
        if (!settings_.IgnoreErrors && st_.PageText == "error") {
            if (reportError)
                setStat(U("Ошибка при загрузке"));
            view_.ResetControls();
            return;
        }
        writeImage(i, st_.PageText);
    }
}

void IssueDownload::writePage(int n, const ByteText& page) {
    if (page.isEmpty() || page == "error")
        return;
    WriteIssueFile(st_.IssueFolder + "/page" + QString::number(n) + ".html", page + "\r\n");
}

// A failed or stopped fetch leaves no file: the archive never holds an
// empty picture in place of a real one.
void IssueDownload::writeImage(int i, const ByteText& result) {
    if (fetchFailedOrStopped(result))
        return;
    const ByteText name = ImageFileName(st_.ImageList.at(i - 1));
    WriteIssueFile(st_.IssueFolder + "/img/" + FileNameOf(name), ExtractBody(result));
}

void IssueDownload::appendImages() {
    for (int i = 0; i < scan_.LinkCount && st_.ImageList.size() < MaxImages; ++i)
        st_.ImageList.append(scan_.LinkList.at(i));
    st_.ImageCount = int16_t(st_.ImageList.size());
}

void IssueDownload::buildIndex(bool complete) {
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
    st_.PageText = BuildIssueIndex(complete, in, app_.ProgramFolder, app_.sites).page;
}

void IssueDownload::askToHangUp() {
    if (settings_.KillConnect &&
        messenger_.Show(U("Разорвать соединение?"), Confirmation, MessageIcon::Question,
                        MessageButtons::YesNo) == MessageAnswer::Yes)
        hangUp_.HangUpAll();
}

// Reached only when every page was attempted.
void IssueDownload::finish(bool complete) {
    buildIndex(complete);
    if (settings_.DownloadImages) {
        if (st_.CurrentSource == MagazineSource)
            LoadMagazineImages();
        else
            LoadAllImages();
    }
    view_.ResetControls();
    if (settings_.AutoCopy)
        NumberCopy(st_.IssueFolder, settings_, app_.ProgramFolder, messenger_,
                   [this](const QString& text) {
                       setStat(text);
                       view_.Repaint();
                   });
    if (st_.StopRequested) {
        setStat(U("Загрузка прервана пользователем"));
        askToHangUp();
        return;
    }
    if (settings_.ClearCasheDown)
        DC.ClearCashe();
    if (settings_.KillConnect)
        hangUp_.HangUpAll();
    setStat(U("Номер загружен"));
    if ((st_.CurrentSource == NewspaperSource && st_.AutoNewspaper) ||
        (st_.CurrentSource == MagazineSource && st_.AutoMagazine))
        view_.EndProgram();
}
