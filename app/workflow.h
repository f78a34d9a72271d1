#pragma once
// The download of one issue, newspaper (source 1) or magazine (source 2),
// from the site's main page to "Номер загружен": the newest issue and the
// list of others, the selection window, the table of contents, every page
// in its print form rewritten by the processing script and linked to its
// neighbours, the issue index, the images, and the finish (copy-out, stop
// report, e-book and old issues retired, cache clearing, hang-up). An issue
// folder holding an unfinished download of the same issue is completed, not
// started afresh. report() tells how the download ended.
//
// One thread: every fetch waits in the download control's nested event
// loop, so "Стоп" reaches the loops through Downloading, which they test at
// the top of each page and image step; only the search index of the issue's
// pages is written on a thread of its own, while the pictures arrive. The
// state lives in the AppState the program owns; the user is reached only
// through Messenger and DownloadView.
//
// The steps are split by source: workflow.cpp holds the start, the shared
// main-page step, the selection, the page and picture loops and the finish;
// issue_resume.cpp the taking up of an unfinished download;
// newspaper_download.cpp and magazine_download.cpp the source-specific steps.
// workflow_text.h holds the texts they show, workflow_rules.h the rules that
// need no site or window.

#include "app/archive_upkeep.h"
#include "app/download_report.h"
#include "app/download_view.h"
#include "app/global.h"
#include "app/page_record.h"
#include "app/workflow_rules.h"
#include "app/workflow_text.h"
#include "net/fetch_pool.h"
#include "processing/find_links.h"
#include "processing/process_page.h"
#include "search/archive_index.h"
#include "search/index_progress.h"
#include "settings/messenger.h"

#include <QObject>
#include <QString>
#include <functional>
#include <future>
#include <memory>

class Download_Control;
class Hang_Up;

class IssueDownload {
public:
    IssueDownload(AppState& app, Download_Control& DC, Messenger& messenger, DownloadView& view,
                  Hang_Up& hangUp);

    // The start of a download once the window is in its downloading state:
    // PrepareStart, the version check, and the main-page step when the
    // check lets the download go on. Returns when the download has ended,
    // whichever way; report() then says how.
    void Start();
    // The proxy settings handed to the download control (off as well as
    // on), the date picked for an earlier download forgotten and the report
    // emptied.
    void PrepareStart();

    // Asks the update server for a newer version (update_step.cpp). None, or
    // no answer: true, the download goes on. A newer one: an unattended run
    // reports it and goes on; otherwise the update window decides, "Отмена"
    // going on and "Обновить" running DownloadUpdate. False when the run
    // ends here (a stop, a refused proxy login, an update).
    bool CheckNewVersion();
    // The new version's file fetched, checked, written and started; the
    // program then ends. On failure the status says so and the window goes
    // back to idle.
    void DownloadUpdate(const UpdateInfo& info);

    // Both sources: the main page (remembered with QuickDownload), then the
    // newspaper's newest issue and archive list or the magazine's issue list
    // and covers, then the selection window.
    void LoadMainPage();

    // Newspaper.
    void LoadFirstPage();
    void LoadAllPage();
    void CollectImageLinks();
    // False when a picture could not be written: the download has ended.
    bool LoadAllImages();

    // Magazine.
    void LoadMagazineContents();
    void LoadMagazinePages();
    void CollectMagazineImageLinks();
    bool LoadMagazineImages();

    // Makes the e-book after a download when MakeEpub asks for one; none
    // in the program without the book tools.
    BookMaker makeBook;

    // The issue lists of the last scan (read by the selection windows).
    const LinkScan& scan() const { return scan_; }
    // How the last download ended.
    const DownloadReport& report() const { return report_; }

private:
    // Shared steps.
    ByteText sourceHost() const;
    void endWithProxyRefusal();
    void newspaperMainPage();
    void offerLoadByNumber();
    void magazineMainPage();
    void openSelection(bool byNumberOnly);
    void reportContentsError();
    ByteText processedPage(const ByteText& body, int n, const QList<ByteText>& pictures);
    QString pageFile(int n) const;
    enum class PageWrite { Nothing, Saved, Failed };
    PageWrite writePage(int n, const ByteText& page);
    bool resumesEarlierRun() const;
    void openIssueFolder();
    bool pageFromEarlierRun(int n, const ByteText& path);
    // Whether page n was saved by an earlier run of a resumed download.
    bool pageSavedEarlier(int n, const ByteText& path) const;
    std::unique_ptr<FetchPool> fetchAhead(const QList<ByteText>& paths);
    ByteText fetch(FetchPool* pool, const ByteText& path);
    void loadIssue(const std::function<ByteText(int n)>& pagePath,
                   void (IssueDownload::*collectImages)());
    bool loadPages(const std::function<ByteText(int n)>& pagePath,
                   void (IssueDownload::*collectImages)(), bool& complete);
    bool loadImages(const ByteText& host, bool reportError);
    QList<bool> picturesOnDisk() const;
    bool buildIndex(bool complete);
    void endWithWriteError(const QString& path);
    void finish(bool complete);
    void askToHangUp();
    // The issue's search indexing on another thread, and how far a build of
    // the whole index that it had to make first has come.
    struct AsideIndexing {
        std::shared_ptr<search::IndexProgress> progress = std::make_shared<search::IndexProgress>();
        std::future<search::IndexOutcome> outcome;
    };
    AsideIndexing indexAside() const;
    void indexForSearch(AsideIndexing& aside);
    void appendImages();
    void appendPictures(const QList<ByteText>& paths);
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
    DownloadReport report_;
    QObject receiver_;      // the end of the download control's connections to this download
    bool resuming_ = false; // the issue folder holds an unfinished earlier download
    PageRecord record_;     // the pages saved in the issue folder so far
    // The fetches of the page loop; on a fresh download with pictures, each
    // page's pictures join them as soon as the page is processed.
    std::unique_ptr<FetchPool> pool_;
    bool picturesAhead_ = false;
};

// Whether a fetch brought the resource: a response with a 2xx status. An
// error answer (a redirect, a server error, no status line), "error" and
// "stop" bring nothing to save.
bool Delivered(const ByteText& result);
// Whether a fetch brought a page or picture: Delivered, with a body. An
// empty answer is as much a failed item as an error answer.
bool DeliveredWithBody(const ByteText& result);
