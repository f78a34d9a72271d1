#pragma once
// The download of one issue, newspaper (source 1) or magazine (source 2),
// from the site's main page to "Номер загружен": the newest issue and the
// list of others, the selection window, the table of contents, every page
// in its print form rewritten by the processing script and linked to its
// neighbours, the issue index, the images, and the finish (copy-out, stop
// report, e-book and old issues retired, cache clearing, hang-up, end of an
// unattended run).
//
// One thread: every fetch waits in the download control's nested event
// loop, so "Стоп" reaches the loops through Downloading, which they test at
// the top of each page and image step. The state lives in the AppState the
// program owns; the user is reached only through Messenger and DownloadView.
//
// The steps are split by source: workflow.cpp holds the start, the shared
// main-page step, the selection and the finish; newspaper_download.cpp and
// magazine_download.cpp the source-specific steps.

#include "app/download_view.h"
#include "app/global.h"
#include "processing/find_links.h"
#include "processing/process_page.h"
#include "settings/messenger.h"

#include <QString>
#include <functional>

class Download_Control;
class Hang_Up;

class IssueDownload {
public:
    IssueDownload(AppState& app, Download_Control& DC, Messenger& messenger, DownloadView& view,
                  Hang_Up& hangUp);

    // The start of a download once the window is in its downloading state:
    // PrepareStart, then the main-page step. (No version check precedes it
    // yet; once there is one, the start runs PrepareStart, the check, and
    // LoadMainPage when the check lets the download go on.)
    void Start();
    // The proxy settings handed to the download control (off as well as
    // on) and the date picked for an earlier download forgotten.
    void PrepareStart();

    // Both sources: the main page (remembered with QuickDownload), then the
    // newspaper's newest issue and archive list or the magazine's issue list
    // and covers, then the selection window.
    void LoadMainPage();

    // Newspaper.
    void LoadFirstPage();
    void LoadAllPage();
    void CollectImageLinks();
    void LoadAllImages();

    // Magazine.
    void LoadMagazineContents();
    void LoadMagazinePages();
    void CollectMagazineImageLinks();
    void LoadMagazineImages();

    // The issue lists of the last scan (read by the selection windows).
    const LinkScan& scan() const { return scan_; }

private:
    // Shared steps.
    ByteText sourceHost() const;
    bool fetchFailedOrStopped(const ByteText& result) const;
    void newspaperMainPage();
    void magazineMainPage();
    void openSelection(bool byNumberOnly);
    void reportContentsError();
    ByteText processedPage(const ByteText& body, int n);
    void writePage(int n, const ByteText& page);
    bool loadPages(const std::function<ByteText(int n)>& pagePath,
                   void (IssueDownload::*collectImages)(), bool& complete);
    void loadImages(const ByteText& host, bool reportError);
    void writeImage(int i, const ByteText& result);
    void buildIndex(bool complete);
    void finish(bool complete);
    void askToHangUp();
    void appendImages();
    void setStat(const QString& text);

    AppState& app_;
    WorkflowState& st_;
    const Settings& settings_;
    Download_Control& DC;
    Messenger& messenger_;
    DownloadView& view_;
    Hang_Up& hangUp_;
    LinkScan scan_;
    PageProcessor processor_;
};

// The newest issue named by a main page's heading links (FindNewspaperLinks
// with headings on), or empty text.
ByteText NewestIssueOfHeadings(const LinkScan& headings);

// Puts the links to page n - 1 and n + 1 of count in place of the first
// "%prevpage%" and "%nextpage%"; the first page loses "%prevpage%", the last
// "%nextpage%".
void LinkNeighbours(ByteText& page, int n, int count);

// The article links of a magazine table of contents: every occurrence of
// the issue's path from "Тема номера" on, with the path after it up to the
// next double quote, the title up to "</a>" and the annotation up to "<br>".
struct MagazineArticles {
    QList<ByteText> paths, titles, annotations;
};
MagazineArticles ScanMagazineArticles(const ByteText& contents, qsizetype theme,
                                      const ByteText& issuePath, int capacity);

// Replaces path with bytes, never leaving half a file under its name;
// false when the write failed (the old file, if any, stays).
bool WriteIssueFile(const QString& path, const ByteText& bytes);

// The status texts and messages the workflow shows, shared with its tests.
namespace workflow_text {
QString PageCounter(int n, int count);  // "Загрузка страницы n из count..."
QString ImageCounter(int i, int count); // "Загрузка изображения i из count..."
QString CoverCounter(int i, int count); // "Загрузка обложки i из count..."
QString ContentsError(); // "Ошибка при получении оглавления номера"...
QString MagazineRefusal(); // the announcement refusal
} // namespace workflow_text
