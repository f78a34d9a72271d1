// Speed of the main index over a copy folder of 500 issues (400 newspaper,
// 100 magazine), each with an issue index built from the shipped templates'
// shape: list every subfolder, read each index, fill the template, write.
#include "processing/main_index.h"

#include "tests/support/scripted_messenger.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr int Issues = 500;

void write(const QString& path, const ByteText& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

ByteText issueIndex(int i) {
    ByteText page = "<html><head><title>x</title><link rel=\"stylesheet\" href=\"kp.css\"></head>"
                    "<body><table width=\"600\"><tr><td><img src=\"img/t-01.gif\"></td><td>"
                    "<div class=\"date\">" +
                    ByteText::number(1 + i % 28) + W(" января ") + "2005 (" +
                    ByteText::number(23000 + i) + ")</div></td></tr></table><ul>\r\n";
    for (int n = 1; n <= 30; ++n)
        page += "<li><a href=\"page" + ByteText::number(n) + ".html\" class=\"b\">" +
                W("Заголовок статьи номер ") + ByteText::number(n) + "</a>\n";
    return page + "</ul></body></html>\r\n<!!!-!!!07.12.2026>\r\n";
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir home;
    const QString target = home.filePath("copy");
    write(home.filePath("data/mainindex.dat"),
          "<html><body><!!!--norvel2--!!!><hr><!!!--norvel2KT--!!!></body></html>");
    for (int i = 0; i < Issues; ++i) {
        const QString name = i % 5 == 4 ? QString("2005.%1.KT").arg(i, 4, 10, QChar('0'))
                                        : QString::number(23000 + i);
        write(target + "/" + name + "/index.htm", issueIndex(i));
    }
    ScriptedMessenger messenger;
    BuildMainIndex(target, home.path(), messenger); // warm the file cache

    constexpr int Runs = 10;
    QElapsedTimer timer;
    timer.start();
    MainIndexResult result = MainIndexResult::Written;
    for (int r = 0; r < Runs; ++r)
        result = BuildMainIndex(target, home.path(), messenger);
    const double perBuildMs = timer.nsecsElapsed() / 1e6 / Runs;

    QFile written(target + "/index.htm");
    const qint64 size = written.size();
    std::printf("BuildMainIndex: %d issue folders\n", Issues);
    std::printf("  per build: %.2f ms (%d builds), index %lld KB, messages %d\n", perBuildMs, Runs,
                static_cast<long long>(size / 1024), int(messenger.shown().size()));
    return result == MainIndexResult::Written && int(messenger.shown().size()) == 0 ? 0 : 1;
}
