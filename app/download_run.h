#pragma once
// What the steps of an issue download share: the program's state and the
// parts they reach the site, the user and the window through, and what one
// step leaves for the next (the issue lists of the last scan, the report,
// the issue folder's record, the fetches running ahead, the search indexing
// running aside). One lives as long as the IssueDownload that owns it; the
// steps are free functions over it, so a kind of periodical places the
// shared ones in its own list (app/workflow.cpp) beside its own.

#include "app/archive_upkeep.h"
#include "app/download_report.h"
#include "app/download_view.h"
#include "app/global.h"
#include "archive/page_record.h"
#include "net/fetch_pool.h"
#include "processing/find_links.h"
#include "processing/process_page.h"
#include "search/archive_index.h"
#include "search/index_progress.h"
#include "settings/messenger.h"

#include <QList>
#include <QString>
#include <future>
#include <memory>

class Download_Control;
class Hang_Up;

// The search indexing on another thread, and how far a build of the
// whole index that it had to make first has come. Dropping it waits for the
// indexing (a future of std::async waits when it goes).
struct AsideIndexing {
    std::shared_ptr<search::IndexProgress> progress = std::make_shared<search::IndexProgress>();
    std::future<search::IndexOutcome> outcome;
};

struct DownloadRun {
    DownloadRun(AppState& app, Download_Control& DC, Messenger& messenger, DownloadView& view,
                Hang_Up& hangUp, const BookMaker& makeBook);

    void setStat(const QString& text) { view.SetStat(text); }
    // The fetches of a loop started ahead of it (see download_run.cpp); none
    // with one connection or fewer than two paths.
    std::unique_ptr<FetchPool> fetchAhead(const QList<ByteText>& paths);
    // The answer for path, from the fetches ahead when there are any.
    ByteText fetch(const ByteText& path);
    // Pictures onto ImageList, as many as it holds.
    void appendPictures(const QList<ByteText>& paths);

    AppState& app;
    WorkflowState& st;
    const Settings& settings;
    Download_Control& DC;
    Messenger& messenger;
    DownloadView& view;
    Hang_Up& hangUp;
    const BookMaker& makeBook;
    PageProcessor processor;

    LinkScan scan;             // the issue lists of the last scan
    DownloadReport report;     // how the download ended
    bool byNumberOnly = false; // the selection only asks for an issue number
    bool resuming = false;     // the issue folder holds an unfinished earlier download
    PageRecord record;         // the pages saved in the issue folder so far
    bool complete = true;      // no page has failed
    // The fetches of the page loop; on a fresh download with pictures, each
    // page's pictures join them as soon as the page is processed.
    std::unique_ptr<FetchPool> pool;
    bool picturesAhead = false;
    AsideIndexing indexing; // while the pictures arrive
};
