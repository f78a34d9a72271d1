// The archive search at the size of years of reading: 1,000 issues of 24
// pages each (every seventh the magazine's), their pages written in the
// shape the processing script gives them, with the demo site's prose
// (tools/demosite/russian_text) and its known sentences spread over them.
//
//   bench_search [rounds]     (default 21 rounds per query)
//
// Shows: the whole norvel2 --reindex; the index's size (and its largest
// tables) beside the pages' files and their text (UTF-8, as indexed); per query the median time of
// one search in this process (open, match, snippets) and of the whole norvel2 --search process; and
// what indexing adds to a 24-page download from the demo site on loopback and over a 30 ms round
// trip (the whole norvel2 -kp with and without an index to write, rounds alternating), beside the
// indexing of that issue alone.
#include "search/archive_index.h"
#include "search/archive_search.h"
#include "search/page_text.h"
#include "tests/support/demo_site.h"
#include "tests/support/issue_folders.h"
#include "tests/support/temp_program_folder.h"
#include "tools/demosite/random.h"
#include "tools/demosite/russian_text.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int Issues = 1000;
constexpr int Pages = 24;

double median(QList<double> values) {
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values[values.size() / 2];
}

ByteText articlePage(Rng& rng, const QDate& date, int issue, int page, ByteText& title) {
    title = russian::headline(rng);
    ByteText out = "<html>\r\n<head>\r\n<meta charset=windows-1251>\r\n<title>" + title +
                   "</title>\r\n<link rel=\"stylesheet\" type=\"text/css\" href=\"kp.css\">\r\n"
                   "</head>\r\n<body bgcolor=\"#ffffff\">\r\n<td class=\"date\">" +
                   russian::printedDate(date) + "</td>\r\n<h1>" + title +
                   "</h1>\r\n<div class=\"author\">" + russian::personName(rng) +
                   "</div>\r\n<div>\r\n";
    const int paragraphs = rng.between(4, 9);
    for (int p = 0; p < paragraphs; ++p)
        out += "<p>" + russian::paragraph(rng, rng.between(2, 6)) + "</p>\r\n";
    // The known sentences, in one page of fifty.
    if ((issue * Pages + page) % 50 == 0)
        out += "<p>" + russian::searchSample(false, 0, (issue + page) % 3) + "</p>\r\n";
    out += "</div>\r\n<table class=\"nav\"><tr><td><a href=\"index.htm\">" +
           W("Оглавление номера") + "</a></td></tr></table>\r\n</body>\r\n</html>\r\n";
    return out;
}

// The archive: what the program would have downloaded over 1,000 days.
void makeArchive(const QString& download) {
    QDate date(2006, 11, 23);
    for (int i = 0; i < Issues; ++i, date = date.addDays(-1)) {
        const bool magazine = i % 7 == 3;
        const QString name = date.toString("yyyy.MM.dd") + (magazine ? ".KT" : "");
        Rng rng(1, {uint64_t(i)});
        QList<PageEntry> entries;
        for (int n = 1; n <= Pages; ++n) {
            ByteText title;
            WriteFile(download + "/" + name, QString("page%1.html").arg(n),
                      articlePage(rng, date, i, n, title));
            entries.append({n, cp1251::toUnicode(title).toUtf8(), {}});
        }
        WriteFile(
            download + "/" + name, "index.htm",
            IssueIndexPage(date, ByteText::number(magazine ? 650 - i : 24001 - i), entries, date));
    }
}

struct Sizes {
    qint64 files = 0, text = 0;
};

Sizes pageSizes(const QString& download) {
    Sizes sizes;
    QDirIterator it(download, {"page*.html"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        file.open(QIODevice::ReadOnly);
        const QByteArray bytes = file.readAll();
        sizes.files += bytes.size();
        sizes.text += search::PageText(bytes).toUtf8().size();
    }
    return sizes;
}

qint64 folderBytes(const QString& folder) {
    qint64 bytes = 0;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        bytes += QFileInfo(it.next()).size();
    return bytes;
}

// The wall time of the built program run to its end, in ms; -1 when it failed.
double runProgram(const QString& home, const QStringList& arguments, int okStatus = 0) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("NORVEL_HOME", home);
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(name);
    process.setProcessEnvironment(env);
    QElapsedTimer clock;
    clock.start();
    process.start(TempProgramFolder::binDir() + "/norvel2", arguments);
    const bool ok = process.waitForFinished(600'000) && process.exitCode() == okStatus;
    const double ms = clock.nsecsElapsed() / 1e6;
    if (!ok)
        std::fprintf(stderr, "norvel2 %s: %s\n", qPrintable(arguments.join(' ')),
                     process.readAllStandardError().constData());
    return ok ? ms : -1;
}

void queries(const QString& home, int rounds) {
    const QList<QStringList> list = {{"фестиваль"},
                                     {"выборы"},
                                     {"\"северный мост\""},
                                     {"новые", "правила", "весной"},
                                     {"метро", "-театра"}};
    std::printf("%-28s %6s %12s %14s\n", "query", "hits", "in-process", "norvel2 --search");
    for (const QStringList& words : list) {
        search::SearchRequest request;
        request.query = words.join(' ');
        QList<double> inside, whole;
        int hits = 0;
        for (int r = 0; r < rounds; ++r) {
            QElapsedTimer clock;
            clock.start();
            hits = int(search::Search(home, request).hits.size());
            inside << clock.nsecsElapsed() / 1e6;
            whole << runProgram(home, QStringList{"--search"} + words);
        }
        std::printf("%-28s %6d %9.1f ms %11.1f ms\n", qPrintable(request.query), hits,
                    median(inside), median(whole));
    }
}

QString copyOfIndex(const QString& bigHome, const QString& home) {
    const QString from = bigHome + "/search", to = home + "/search";
    QDir().mkpath(to);
    for (const QFileInfo& file : QDir(from).entryInfoList(QDir::Files))
        QFile::copy(file.filePath(), to + "/" + file.fileName());
    return to;
}

// The time IndexIssue takes to put the issue into the index of home, in ms;
// -1 when the issue did not go in.
double indexingTime(const QString& home, const QString& issue) {
    QElapsedTimer clock;
    clock.start();
    const search::IndexOutcome outcome = search::IndexIssue(home, issue);
    const double ms = clock.nsecsElapsed() / 1e6;
    return outcome.pages > 0 ? ms : -1;
}

void printRatios(const char* what, const QList<double>& ratios) {
    std::printf("  %s: %+.1f%% (median; rounds:", what, 100 * (median(ratios) - 1));
    for (double r : ratios)
        std::printf(" %+.0f%%", 100 * (r - 1));
    std::printf(")\n");
}

// What indexing adds to a 24-page download from the demo site, as the user
// waits for it: the whole norvel2 -kp in a fresh program folder whose
// search/ is a plain file (no index can be written: the download alone),
// beside one with a new index and one holding a copy of the 1,000-issue
// index. Sides rotate by round. Returns the program folder of the last run.
std::unique_ptr<TempProgramFolder> downloadOverhead(const QString& bigHome, int rounds,
                                                    int roundTripMs) {
    DemoSite site({"--images", "2", "--latency", QString::number(roundTripMs)});
    if (!site.isRunning()) {
        std::printf("demo site: %s\n", qPrintable(site.error()));
        return nullptr;
    }
    std::vector<std::unique_ptr<TempProgramFolder>> homes;
    const auto download = [&](int side) {
        homes.push_back(std::make_unique<TempProgramFolder>());
        const QString home = homes.back()->path();
        site.installInto(home);
        if (side == 0)
            WriteFile(home, "search", "no index here");
        else if (side == 2)
            copyOfIndex(bigHome, home);
        return runProgram(home, {"-kp"});
    };
    QList<double> times[3], fresh, intoBig;
    for (int r = 0; r < rounds; ++r) {
        double round[3];
        for (int k = 0; k < 3; ++k) {
            const int side = (r + k) % 3;
            times[side] << (round[side] = download(side));
        }
        fresh << round[1] / round[0];
        intoBig << round[2] / round[0];
    }
    std::printf("24-page download, %s (norvel2 -kp, medians of %d): %.0f ms without an index, "
                "%.0f ms with a new one, %.0f ms with the 1,000-issue one\n",
                roundTripMs ? qPrintable(QString("%1 ms round trip").arg(roundTripMs)) : "loopback",
                rounds, median(times[0]), median(times[1]), median(times[2]));
    printRatios("indexing into a new index adds", fresh);
    printRatios("indexing into the 1,000-issue index adds", intoBig);
    return std::move(homes.back());
}

// The issue's indexing alone, in this process, into an index that is there
// already: an empty one and a copy of the 1,000-issue one.
void indexingAlone(const QString& bigHome, const QString& issue, int rounds) {
    QList<double> intoEmpty, intoBig;
    for (int r = 0; r < rounds; ++r) {
        TempProgramFolder empty, copy;
        search::Reindex(empty.path());
        copyOfIndex(bigHome, copy.path());
        intoEmpty << indexingTime(empty.path(), issue);
        intoBig << indexingTime(copy.path(), issue);
    }
    std::printf("  the issue's indexing alone, in one thread: %.1f ms into an empty index, %.1f ms "
                "into the 1,000-issue one\n",
                median(intoEmpty), median(intoBig));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? qMax(1, atoi(argv[1])) : 21;
    TempProgramFolder home;
    QElapsedTimer clock;
    clock.start();
    makeArchive(home.path() + "/Download");
    std::printf("archive: %d issues x %d pages written in %.1f s\n", Issues, Pages,
                clock.elapsed() / 1e3);

    const double reindex = runProgram(home.path(), {"--reindex"});
    std::printf("norvel2 --reindex: %.1f s\n", reindex / 1e3);
    const Sizes pages = pageSizes(home.path() + "/Download");
    const qint64 index = folderBytes(home.path() + "/search");
    std::printf("index %.1f MB; pages' files %.1f MB (index %.0f%% of them), their text %.1f MB "
                "(index %.0f%% of it)\n",
                index / 1e6, pages.files / 1e6, 100.0 * index / pages.files, pages.text / 1e6,
                100.0 * index / pages.text);
    for (const QFileInfo& table : QDir(home.path() + "/search").entryInfoList(QDir::Files))
        if (table.size() > 100'000)
            std::printf("  %s %.1f MB\n", qPrintable(table.fileName()), table.size() / 1e6);
    queries(home.path(), rounds);
    if (const auto last = downloadOverhead(home.path(), rounds, 0))
        indexingAlone(home.path(), OnlyIssueFolder(last->path()), rounds);
    // Over a link like a user's, the indexing runs while the pictures'
    // round trips are awaited.
    downloadOverhead(home.path(), qMax(3, rounds / 3), 30);
    return 0;
}
