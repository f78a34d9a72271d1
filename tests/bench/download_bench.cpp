// What a user waits for: the real program downloading an issue from the
// demo site, started as a scheduler starts it (norvel2 -kp, no display
// variable, default settings, a fresh program folder each round), beside
// wget (one fetch at a time) and wget2 --max-threads=5 fetching exactly the
// URLs the program asked for (taken from the demo site's request log) and
// saving them as files. Rounds rotate which side goes first, since the
// machine is shared; each side's median and the median of the per-round
// ratios are shown, with the program's peak memory. Then the run that finds
// the issue already archived, beside one wget fetch.
//
//   bench_download [rounds] [--latency MS]     (default 5 rounds, 0 ms)
//
// --latency makes the demo site behave as over a link with that round trip,
// as readers fetch over the internet.
//
// Two issues: 60 pages with 10 pictures each, and the demo site's default
// issue (24 pages, 2 pictures each).

#include "tests/support/demo_site.h"
#include "tests/support/temp_program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

struct Run {
    bool ok = false;
    double ms = 0;
    long peakKb = 0;
};

double NowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// The bench's environment without display variables, with NORVEL_HOME set
// to home when given.
std::vector<QByteArray> Environment(const QString& home) {
    std::vector<QByteArray> env;
    for (char** e = environ; *e; ++e) {
        const QByteArray entry(*e);
        const QByteArray name = entry.left(entry.indexOf('='));
        if (name != "DISPLAY" && name != "WAYLAND_DISPLAY" && name != "QT_QPA_PLATFORM" &&
            name != "NORVEL_HOME")
            env.push_back(entry);
    }
    if (!home.isEmpty())
        env.push_back("NORVEL_HOME=" + QFile::encodeName(home));
    return env;
}

// Starts program with arguments, output discarded, and waits for its end:
// the wall time and the peak memory of that one process.
Run Spawn(const QString& program, const QStringList& arguments, const QString& home = {}) {
    std::vector<QByteArray> args{QFile::encodeName(program)};
    for (const QString& a : arguments)
        args.push_back(QFile::encodeName(a));
    std::vector<char*> argv;
    for (QByteArray& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<QByteArray> env = Environment(home);
    std::vector<char*> envp;
    for (QByteArray& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&files, 2, "/dev/null", O_WRONLY, 0);
    Run run;
    const double start = NowMs();
    pid_t pid = 0;
    const int error = posix_spawn(&pid, argv[0], &files, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&files);
    if (error != 0)
        return run;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        return run;
    run.ms = NowMs() - start;
    run.peakKb = usage.ru_maxrss;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

// Program folders and wget's folders stay until the end: a file system
// hunting for free inodes among thousands just deleted would slow the later
// rounds of one side only.
std::vector<std::unique_ptr<TempProgramFolder>> homes;

TempProgramFolder& FreshHome(const DemoSite& site) {
    homes.push_back(std::make_unique<TempProgramFolder>());
    site.installInto(homes.back()->path());
    return *homes.back();
}

Run Norvel(const QString& home) {
    return Spawn(TempProgramFolder::binDir() + "/norvel2", {"-kp"}, home);
}

Run Wget(const QString& listFile, const QString& folder) {
    QDir().mkpath(folder);
    return Spawn("/usr/bin/wget", {"-q", "-nd", "-P", folder, "-i", listFile});
}

Run Wget2(const QString& listFile, const QString& folder) {
    QDir().mkpath(folder);
    return Spawn("/usr/bin/wget2", {"-q", "--max-threads=5", "-nd", "-P", folder, "-i", listFile});
}

// Every URL the program asked for, in its order: the host of each request
// head and its path.
QList<ByteText> RequestedUrls(const DemoSite& site) {
    QList<ByteText> urls;
    for (const ByteText& head : site.requests()) {
        const ByteText path = head.left(head.indexOf('\r')).split(' ').value(1);
        const qsizetype at = head.indexOf("\r\nHost: ");
        const qsizetype end = head.indexOf("\r\n", at + 2);
        urls.append("http://" + head.mid(at + 8, end - at - 8) + path);
    }
    return urls;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

QByteArray Load() {
    QFile file("/proc/loadavg");
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray("?");
}

void PrintRatios(const std::vector<double>& ratios) {
    std::printf("  per-round ratios:");
    for (double r : ratios)
        std::printf(" %.2f", r);
    std::printf("\n");
}

// One issue, rounds alternating between the program and wget; false when a
// run failed.
bool CompareIssue(const char* title, const QStringList& siteArguments, int rounds,
                  const QString& scratch) {
    DemoSite site(siteArguments);
    if (!site.isRunning()) {
        std::fprintf(stderr, "demo site: %s\n", qPrintable(site.error()));
        return false;
    }
    // A first run gives the URL list and warms both sides up.
    site.clearRequestLog();
    TempProgramFolder& first = FreshHome(site);
    if (!Norvel(first.path()).ok) {
        std::fprintf(stderr, "norvel2 -kp failed in %s\n", qPrintable(first.path()));
        return false;
    }
    const QList<ByteText> urls = RequestedUrls(site);
    const QString list = scratch + "/" + QString::fromLatin1(title).section(' ', 0, 0) + ".txt";
    QFile listFile(list);
    if (!listFile.open(QIODevice::WriteOnly))
        return false;
    for (const ByteText& url : urls)
        listFile.write(url + "\n");
    listFile.close();
    static int wgetFolders = 0;
    const auto wgetFolder = [&] { return scratch + "/wget-" + QString::number(++wgetFolders); };
    if (!Wget(list, wgetFolder()).ok)
        return false;

    // The three sides, in an order that rotates by round.
    const std::function<Run()> sides[] = {
        [&] { return Norvel(FreshHome(site).path()); },
        [&] { return Wget(list, wgetFolder()); },
        [&] { return Wget2(list, wgetFolder()); },
    };
    std::vector<double> times[3], toWget, toWget2;
    long peakKb = 0;
    for (int round = 0; round < rounds; ++round) {
        Run runs[3];
        for (int k = 0; k < 3; ++k) {
            const int side = (round + k) % 3;
            runs[side] = sides[side]();
            if (!runs[side].ok) {
                std::fprintf(stderr, "round %d failed (side %d)\n", round, side);
                return false;
            }
            times[side].push_back(runs[side].ms);
        }
        toWget.push_back(runs[0].ms / runs[1].ms);
        toWget2.push_back(runs[0].ms / runs[2].ms);
        peakKb = std::max(peakKb, runs[0].peakKb);
    }
    std::printf("%s: %lld requests\n", title, qlonglong(urls.size()));
    std::printf("  norvel2 -kp: %.0f ms, wget -q -i: %.0f ms, wget2 --max-threads=5: %.0f ms "
                "(medians of %d)\n",
                Median(times[0]), Median(times[1]), Median(times[2]), rounds);
    std::printf("  norvel2 / wget: %.2f\n", Median(toWget));
    PrintRatios(toWget);
    std::printf("  norvel2 / wget2: %.2f\n", Median(toWget2));
    PrintRatios(toWget2);
    std::printf("  peak memory of norvel2: %.1f MB\n", peakKb / 1024.0);

    // The issue is in the archive now: the run ends once it has seen the
    // newest issue's number.
    const QString archived = first.path();
    const QByteArray mainPage = "http://" + site.newspaper() + "/";
    std::vector<double> again, one, againRatios;
    for (int round = 0; round < rounds; ++round) {
        Run fetch, norvel;
        if (round % 2)
            fetch = Spawn("/usr/bin/wget", {"-q", "-O", "/dev/null", mainPage});
        norvel = Norvel(archived);
        if (round % 2 == 0)
            fetch = Spawn("/usr/bin/wget", {"-q", "-O", "/dev/null", mainPage});
        if (!norvel.ok || !fetch.ok)
            return false;
        again.push_back(norvel.ms);
        one.push_back(fetch.ms);
        againRatios.push_back(norvel.ms / fetch.ms);
    }
    std::printf("  already archived: norvel2 -kp %.0f ms, one wget fetch %.0f ms (medians of %d)\n",
                Median(again), Median(one), rounds);
    PrintRatios(againRatios);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    int rounds = 5;
    QString latency = "0";
    const QStringList arguments = application.arguments().mid(1);
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--latency" && i + 1 < arguments.size())
            latency = arguments[++i];
        else
            rounds = std::max(1, arguments[i].toInt());
    }
    QTemporaryDir scratch;
    std::printf("load average at start: %s; round trip %s ms\n", Load().constData(),
                qPrintable(latency));
    const bool done =
        CompareIssue("large issue, 60 pages and 600 pictures",
                     {"--pages", "60", "--images", "10", "--issues", "1", "--latency", latency},
                     rounds, scratch.path()) &&
        CompareIssue("default issue, 24 pages and 48 pictures", {"--latency", latency}, rounds,
                     scratch.path());
    std::printf("load average at end: %s\n", Load().constData());
    homes.clear();
    return done ? 0 : 1;
}
