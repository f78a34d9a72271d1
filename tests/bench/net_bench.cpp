// How much the download control adds to a fetch: 1,000 small resources from
// the demo site one after another, beside curl fetching the same list in one
// run, over plain TCP and over TLS (the demo site's --tls, every fetch a
// connection and a handshake of its own for both); and a cache lookup among
// 500 entries.
//
//   bench_net [count]     (default 1000)

#include "net/download_control.h"
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

// Worst case: the wanted entry is the last of 500, so every key is read.
void CacheLookup(const QString& folder) {
    ResponseCache cache;
    cache.setFolder(folder + "/cashe");
    cache.setCapacity(500);
    const ByteText host = "www.vedomir.ru";
    const ByteText response = "HTTP/1.0 200 OK\r\n\r\n" + ByteText(2000, 'x');
    for (int i = 1; i <= 500; ++i)
        cache.store(host, "/daily/4321/" + ByteText::number(i) + "/print", response);
    const int rounds = 50;
    QElapsedTimer clock;
    clock.start();
    int hits = 0;
    for (int r = 0; r < rounds; ++r)
        hits += cache.lookup(host, "/daily/4321/500/print").has_value();
    const double hitMs = clock.nsecsElapsed() / 1e6 / rounds;
    clock.restart();
    for (int r = 0; r < rounds; ++r)
        hits += cache.lookup(host, "/daily/9999/1/print").has_value();
    const double missMs = clock.nsecsElapsed() / 1e6 / rounds;
    std::printf("cache lookup, 500 entries: last entry %.3f ms, miss %.3f ms (%d hits of %d)\n",
                hitMs, missMs, hits, rounds);
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
    return true;
}

} // namespace

int main(int argc, char** argv) {
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
