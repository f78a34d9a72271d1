#pragma once
// The state of one run of the program. One AppState is created at start and
// lives until the end; the main window, the start-up and the download
// workflows share it by reference instead of scattered globals. Its
// WorkflowState holds what the workflow writes while it fetches an issue.

#include "settings/bytetext.h"
#include "settings/ini.h"
#include "settings/settings.h"
#include "settings/sites.h"

#include <QList>
#include <QString>
#include <array>
#include <cstdint>

// Capacities of the workflow's lists.
constexpr int MaxPages = 200;   // PagePaths, PageTitles, MagazineTitles
constexpr int MaxImages = 1000; // ImageList
constexpr int MaxCovers = 50;   // CoverFiles

// Sources of issues: CurrentSource and the index of RememberedMainPage.
constexpr int16_t NewspaperSource = 1; // "kp", switch "-kp"
constexpr int16_t MagazineSource = 2;  // "kt", switch "-kt"

// Entry i of a list (i from 1) is element i - 1 of the QList.
struct WorkflowState {
    int16_t CurrentSource = NewspaperSource;
    bool Downloading = false;   // a download runs; the first button reads "Стоп"
    bool StopRequested = false; // the user asked to stop it
    bool AutoNewspaper = false; // started with "-kp"
    bool AutoMagazine = false;  // started with "-kt"

    ByteText PageText; // the last fetch; also the work area of the scanners
    // The last good main page of each source ([CurrentSource - 1]), kept
    // for the run while QuickDownload is on.
    std::array<ByteText, 2> RememberedMainPage;

    ByteText LatestIssue;       // newest issue number found
    ByteText IssueNumber;       // the issue to download
    ByteText IssuePath;         // magazine: the chosen issue's path on its site
    ByteText IssueDate;         // the date as the site prints it
    ByteText IssueDateNumeric;  // the same as DD.MM.YYYY
    ByteText IssueDateOverride; // a date picked in the list of issues, or empty
    int16_t SelectedIssue = 1;  // the chosen issue in the issue lists

    int16_t PageCount = 0;
    QList<ByteText> PagePaths;      // each page's site path
    QList<ByteText> PageTitles;     // its title (magazine: its annotation)
    QList<ByteText> MagazineTitles; // the magazine's page titles
    QList<ByteText> ImageList;      // image paths gathered from the pages
    int16_t ImageCount = 0;
    QList<ByteText> CoverFiles; // magazine: covers saved in the temp folder

    QString IssueFolder; // full path of the issue folder
    QString TempFolder;  // program folder + "/temp"

    int32_t TrafficBytes = 0; // sent and received in the current download
    int32_t ElapsedTime = 0;  // seconds of the current download (timer ticks)
};

struct AppState {
    QString ProgramFolder; // without a trailing "/"
    Sites sites;
    Settings settings;
    WorkflowState state;
    INI OptionsINI; // options.ini
    INI VersionINI; // version.info of the version check
};

// "H:MM:SS", the way the elapsed time is shown: 0:00:00, 0:01:05, 12:00:00.
QString ElapsedText(int32_t seconds);
