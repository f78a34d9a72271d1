// The whole download of a large newspaper issue (60 pages, 600 images) from
// the demo site, beside wget fetching the same URLs one after another from
// the same server in the same run, and the program's peak memory.
//
//   bench_download [rounds]     (default 3; the median of each side is shown)
//
// The response cache is on, as by default; BENCH_NOCACHE=1 switches it off.

#include "app/download_view.h"
#include "app/workflow.h"
#include "net/download_control.h"
#include "net/hang_up.h"
#include "tests/support/demo_site.h"
#include "tests/support/temp_program_folder.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <sys/resource.h>
#include <vector>

namespace {

// The newest issue, no questions, nothing on screen.
class BenchView : public DownloadView {
public:
    void SetStat(const QString&) override {}
    void ResetControls() override { state->Downloading = false; }
    void SetClockRunning(bool) override {}
    void Repaint() override {}
    SelectionOutcome OpenSelection(const SelectionData& data, SelectionChoice& choice) override {
        choice.IssueNumber = data.LatestIssue;
        choice.SelectedIssue = 1;
        return SelectionOutcome::Load;
    }
    WorkflowState* state = nullptr;
};

class QuietMessenger : public Messenger {
public:
    MessageAnswer Show(const QString& text, const QString&, MessageIcon,
                       MessageButtons buttons) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }
};

int wgetRuns = 0;

struct OurRun {
    double ms = -1;
    int pages = 0, images = 0;
};

// Every round's program folder stays until the end, as wget's folders do:
// a file system hunting for inodes among thousands just deleted would make
// the later rounds slower for one side only.
std::vector<std::unique_ptr<TempProgramFolder>> homes;

OurRun DownloadIssue(const DemoSite& site) {
    homes.push_back(std::make_unique<TempProgramFolder>());
    TempProgramFolder& home = *homes.back();
    site.installInto(home.path());
    AppState app;
    app.ProgramFolder = home.path();
    app.sites = LoadSites(home.path());
    SetDefaults(app.settings, home.path());
    app.settings.UseCashe = qEnvironmentVariableIsEmpty("BENCH_NOCACHE");
    app.state.TempFolder = home.file("temp");
    QDir().mkpath(app.state.TempFolder);
    Download_Control DC;
    DC.PathCasheFiles(home.file("cashe"));
    DC.CasheSize(app.settings.CasheSize);
    QuietMessenger messenger;
    BenchView view;
    view.state = &app.state;
    HangUpPlatform none;
    Hang_Up hangUp(none);
    IssueDownload download(app, DC, messenger, view, hangUp);

    QElapsedTimer clock;
    clock.start();
    app.state.Downloading = true;
    download.Start();
    OurRun run;
    run.ms = clock.nsecsElapsed() / 1e6;
    run.pages = QDir(app.state.IssueFolder).entryList({"page*.html"}).size();
    run.images = QDir(app.state.IssueFolder + "/img").entryList(QDir::Files).size();
    return run;
}

// wget over the URL list, its output discarded (toDisk false) or saved as
// files in a fresh folder, as the download saves the issue.
double WgetFetches(const QList<ByteText>& urls, const QString& folder, bool toDisk) {
    const QString list = folder + "/urls.txt";
    QFile file(list);
    if (!file.open(QIODevice::WriteOnly))
        return -1;
    for (const ByteText& url : urls)
        file.write(url + "\n");
    file.close();
    QProcess wget;
    QElapsedTimer clock;
    clock.start();
    const QString target = folder + "/wget-" + QString::number(++wgetRuns);
    QDir().mkpath(target);
    if (toDisk)
        wget.start("wget", {"-q", "-nd", "-P", target, "-i", list});
    else
        wget.start("wget", {"-q", "-O", "/dev/null", "-i", list});
    if (!wget.waitForFinished(600000) || wget.exitCode() != 0) {
        std::fprintf(stderr, "wget failed: %s\n", wget.readAllStandardError().constData());
        return -1;
    }
    return clock.nsecsElapsed() / 1e6;
}

// The URLs our download asked for, in its order.
QList<ByteText> RequestedUrls(const DemoSite& site) {
    QList<ByteText> urls;
    for (const ByteText& line : site.requestLines())
        urls.append("http://" + site.newspaper() + line.split(' ').value(1));
    return urls;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 3;

    DemoSite site({"--pages", "60", "--images", "10", "--issues", "1"});
    if (!site.isRunning()) {
        std::fprintf(stderr, "demo site: %s\n", qPrintable(site.error()));
        return 1;
    }
    QTemporaryDir scratch;
    std::vector<double> ours, wget, wgetDisk;
    OurRun last;
    QList<ByteText> urls;
    // The URL list comes from one download first; then the rounds alternate
    // which side goes first, as the machine is shared and its file system
    // slows down after bursts of file creation.
    site.clearRequestLog();
    last = DownloadIssue(site);
    if (last.ms < 0 || last.pages == 0)
        return 1;
    urls = RequestedUrls(site);
    for (int round = 0; round < rounds; ++round) {
        auto runWget = [&] {
            const double w = WgetFetches(urls, scratch.path(), false);
            const double d = WgetFetches(urls, scratch.path(), true);
            wget.push_back(w);
            wgetDisk.push_back(d);
            return w >= 0 && d >= 0;
        };
        if (round % 2 == 1 && !runWget())
            return 1;
        last = DownloadIssue(site);
        if (last.ms < 0 || last.pages == 0)
            return 1;
        ours.push_back(last.ms);
        if (round % 2 == 0 && !runWget())
            return 1;
    }
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    const double ourMs = Median(ours), wgetMs = Median(wget), diskMs = Median(wgetDisk);
    std::printf("issue of %d pages and %d image files, %lld requests\n", last.pages, last.images,
                static_cast<long long>(urls.size()));
    std::printf("norvel download: %.0f ms (median of %d)\n", ourMs, rounds);
    std::printf("wget, same URLs, saved as files: %.0f ms (median of %d)\n", diskMs, rounds);
    std::printf("wget, same URLs, to /dev/null: %.0f ms (median of %d)\n", wgetMs, rounds);
    std::printf("ratio to wget saving files: %.2f (goal: at most 1.30)\n", ourMs / diskMs);
    std::printf("ratio to wget discarding: %.2f\n", ourMs / wgetMs);
    std::printf("peak memory: %.1f MB\n", usage.ru_maxrss / 1024.0);
    return 0;
}
