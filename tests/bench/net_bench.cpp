// How much the download control adds to a fetch: 1,000 small resources from
// the demo site one after another, with the control's status view shown as
// the main window shows it, beside curl fetching the same list in one run,
// over plain TCP and over TLS (the demo site's --tls, every fetch a
// connection and a handshake of its own for both); and a cache lookup among
// 50 and among 5,000 entries.
//
//   bench_net [count]     (default 1000)

#include "net/download_control.h"
#include "net/download_control_view.h"
#include "net/response_cache.h"
#include "settings/sites.h"
#include "tests/support/demo_site.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

QByteArray Load() {
    QFile file("/proc/loadavg");
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray("?");
}

// Small resources the demo site serves: its stylesheet, logo, counter pixel
// and scripts, each with a query so every fetch names its own resource.
QList<ByteText> ResourceList(int count) {
    static const char* const bases[] = {"/_css/style.css", "/_img/logo.gif", "/_cnt/1.gif",
                                        "/_js/site.js"};
    QList<ByteText> paths;
    for (int i = 0; i < count; ++i)
        paths.append(ByteText(bases[i % 4]) + "?r=" + ByteText::number(i));
    return paths;
}

// The site to fetch from: its host entry and the authority to trust.
struct Target {
    ByteText host;
    QString caFile;
};

double OurFetches(const Target& target, const QList<ByteText>& paths, qsizetype* bytes) {
    Download_Control dc;
    DownloadControlView view(&dc);
    view.show();
    dc.setCaFile(target.caFile);
    dc.RHost(target.host);
    QElapsedTimer clock;
    clock.start();
    for (const ByteText& path : paths) {
        const ByteText response = dc.Down(path, false);
        if (response == "error" || response == "stop") {
            std::fprintf(stderr, "fetch of %s failed: %s\n", path.constData(),
                         qPrintable(dc.StatusText()));
            return -1;
        }
        *bytes += response.size();
    }
    return clock.nsecsElapsed() / 1e6;
}

double CurlFetches(const Target& target, const QList<ByteText>& paths, const QString& folder) {
    // One curl run over a config file naming every URL, output discarded.
    const QString config = folder + "/curl.cfg";
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return -1;
    for (const ByteText& path : paths)
        file.write("url = \"" + SiteAddress(target.host) + path + "\"\noutput = \"/dev/null\"\n");
    file.close();
    QStringList arguments{"-s", "--fail", "-K", config};
    if (!target.caFile.isEmpty())
        arguments += {"--cacert", target.caFile};
    QProcess curl;
    QElapsedTimer clock;
    clock.start();
    curl.start("curl", arguments);
    if (!curl.waitForFinished(600000) || curl.exitCode() != 0) {
        std::fprintf(stderr, "curl failed: %s\n", curl.readAllStandardError().constData());
        return -1;
    }
    return clock.nsecsElapsed() / 1e6;
}

// One lookup in a cache of entries responses, the wanted entry the last
// stored, in microseconds (the median of several rounds).
double CacheLookupMicros(const QString& folder, int entries) {
    ResponseCache cache;
    cache.setFolder(folder + "/cashe" + QString::number(entries));
    cache.setCapacity(int16_t(entries));
    const ByteText host = "www.vedomir.ru";
    const ByteText response = "HTTP/1.0 200 OK\r\n\r\n" + ByteText(2000, 'x');
    for (int i = 1; i <= entries; ++i)
        cache.store(host, "/daily/4321/" + ByteText::number(i) + "/print", response);
    cache.flush();
    const ByteText last = "/daily/4321/" + ByteText::number(entries) + "/print";
    std::vector<double> rounds;
    for (int r = 0; r < 7; ++r) {
        QElapsedTimer clock;
        clock.start();
        const int lookups = 200;
        for (int i = 0; i < lookups; ++i) {
            if (!cache.lookup(host, last))
                return -1;
        }
        rounds.push_back(clock.nsecsElapsed() / 1e3 / lookups);
    }
    std::sort(rounds.begin(), rounds.end());
    return rounds[rounds.size() / 2];
}

void CacheLookup(const QString& folder) {
    const double small = CacheLookupMicros(folder, 50);
    const double large = CacheLookupMicros(folder, 5000);
    std::printf("cache lookup (hit): %.1f us at 50 entries, %.1f us at 5,000 (ratio %.2f)\n", small,
                large, large / small);
}

// Alternating rounds of both clients over the same list; the machine is
// shared, so the median of the rounds is reported.
bool Compare(const char* label, const Target& target, int count, const QString& folder) {
    const QList<ByteText> paths = ResourceList(count);
    // One warm-up round each, so neither pays for first-time set-up.
    qsizetype bytes = 0;
    OurFetches(target, paths.mid(0, 20), &bytes);
    CurlFetches(target, paths.mid(0, 20), folder);

    const int rounds = 5;
    std::vector<double> ours, curl;
    for (int round = 0; round < rounds; ++round) {
        bytes = 0;
        ours.push_back(OurFetches(target, paths, &bytes));
        curl.push_back(CurlFetches(target, paths, folder));
        if (ours.back() < 0 || curl.back() < 0)
            return false;
    }
    std::sort(ours.begin(), ours.end());
    std::sort(curl.begin(), curl.end());
    const double oursMedian = ours[rounds / 2], curlMedian = curl[rounds / 2];
    std::printf("%s: %d fetches per round, %lld bytes received, median of %d rounds\n", label,
                count, qlonglong(bytes), rounds);
    std::printf("  download control: %.1f ms total, %.3f ms per fetch (best %.3f)\n", oursMedian,
                oursMedian / count, ours.front() / count);
    std::printf("  curl (one run):   %.1f ms total, %.3f ms per fetch (best %.3f)\n", curlMedian,
                curlMedian / count, curl.front() / count);
    std::printf("  ratio ours / curl: %.2f\n", oursMedian / curlMedian);
    std::printf("  load average: %s\n", Load().constData());
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : 1000;
    DemoSite site;
    DemoSite secure({"--tls"});
    for (const DemoSite* running : {&site, &secure})
        if (!running->isRunning()) {
            std::fprintf(stderr, "%s\n", qPrintable(running->error()));
            return 1;
        }
    QTemporaryDir folder;
    if (!Compare("HTTP", {site.newspaper(), {}}, count, folder.path()) ||
        !Compare("HTTPS", {secure.newspaper(), secure.caFile()}, count, folder.path()))
        return 1;
    CacheLookup(folder.path());
    return 0;
}
