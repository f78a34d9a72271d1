// The book of a large newspaper issue (60 pages, 600 pictures, downloaded
// once from the demo site by the real program) beside zip -r of the same
// issue folder: the book made in the process, the same by norvel2 --epub as a
// program, and zip, each round alternating which goes first.
//
//   bench_epub [rounds]     (default 5; the median of each side is shown)

#include "ebook/epub_book.h"
#include "tests/support/demo_site.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_program_folder.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double timed(const QString& program, const QStringList& arguments, const QString& home = {}) {
    QProcess process;
    if (!home.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("NORVEL_HOME", home);
        process.setProcessEnvironment(env);
    }
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    if (!process.waitForFinished(600'000) || process.exitCode() != 0) {
        std::fprintf(stderr, "%s failed: %s\n", qPrintable(program),
                     process.readAllStandardError().constData());
        return -1;
    }
    return clock.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;

    DemoSite site({"--pages", "60", "--images", "10", "--issues", "1"});
    if (!site.isRunning()) {
        std::fprintf(stderr, "demo site: %s\n", qPrintable(site.error()));
        return 1;
    }
    TempProgramFolder home;
    site.installInto(home.path());
    if (RunProgram(home.path(), "-kp").exitCode != 0)
        return 1;
    const QString download = home.file("Download");
    const QString issue =
        download + "/" + QDir(download).entryList(QDir::Dirs | QDir::NoDotAndDotDot).value(0);
    const Sites sites = LoadSites(home.path());

    std::vector<double> inProcess, program, zip;
    EpubResult book;
    for (int round = 0; round < rounds; ++round) {
        const auto runZip = [&] {
            const QString target = home.file("zip-" + QString::number(round) + ".zip");
            zip.push_back(timed("zip", {"-r", "-q", target, issue}));
        };
        if (round % 2 == 1)
            runZip();
        QElapsedTimer clock;
        clock.start();
        book = MakeEpub(issue, sites);
        inProcess.push_back(clock.nsecsElapsed() / 1e6);
        program.push_back(
            timed(TempProgramFolder::binDir() + "/norvel2", {"--epub", issue}, home.path()));
        if (round % 2 == 0)
            runZip();
        if (!book.written || zip.back() < 0 || program.back() < 0)
            return 1;
    }
    const double ours = median(inProcess), ourProgram = median(program), theirs = median(zip);
    std::printf("issue of %d pages and %d pictures in the book (%lld files in img/)\n", book.pages,
                book.pictures,
                static_cast<long long>(QDir(issue + "/img").entryList(QDir::Files).size()));
    std::printf("book: %.1f MB; zip -r: %.1f MB\n", QFileInfo(book.path).size() / 1e6,
                QFileInfo(home.file("zip-0.zip")).size() / 1e6);
    std::printf("MakeEpub in the process: %.0f ms (median of %d)\n", ours, rounds);
    std::printf("norvel2 --epub as a program: %.0f ms (median of %d)\n", ourProgram, rounds);
    std::printf("zip -r of the issue folder: %.0f ms (median of %d)\n", theirs, rounds);
    std::printf("ratio to zip -r: %.2f in the process, %.2f as a program (goal: at most 2)\n",
                ours / theirs, ourProgram / theirs);
    return 0;
}
