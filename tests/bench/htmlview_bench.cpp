// The preview control on three documents (an issue index, a 30 KB article,
// a 300 KB page): parsing, a layout pass and a paint-only scroll step, and
// QTextDocument laying out the same HTML at the same width, round by round
// beside ours.
//   bench_htmlview [data folder]
#include "htmlview/document.h"
#include "htmlview/qt_surface.h"
#include "htmlview/render.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTextDocument>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace htmlview;

namespace {

constexpr int kWidth = 600;
constexpr int kHeight = 400;

// Median of several runs, in milliseconds.
double medianMs(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

ByteText issueIndex(const QString& dataDir) {
    QFile file(dataDir + QStringLiteral("/index.dat"));
    ByteText page = file.open(QIODevice::ReadOnly) ? file.readAll() : ByteText();
    if (page.isEmpty())
        page = "<html><body><ul><!!!CodeNorvel2!!!>\n</ul></body></html>";
    page.replace("NumberDate", W("<div class=\"date\">12 января 2005 (23456)</div>"));
    ByteText list;
    for (int n = 1; n <= 24; ++n)
        list += "<li><a href=\"page" + ByteText::number(n) + ".html\" class=\"b\">" +
                W("Заголовок статьи номер ") + ByteText::number(n) + "</a>\n";
    const qsizetype marker = page.indexOf("<!!!CodeNorvel2!!!>");
    if (marker >= 0)
        page = page.left(marker) + list + page.mid(marker + 20);
    page.replace("table width=\"600\"", "table width=\"100%\"");
    return page;
}

// Running text from a vocabulary of a few thousand word forms, so that word
// measurements repeat about as often as in real articles.
ByteText article(qsizetype bytes) {
    const QStringList stems = QString::fromUtf8("редакци газет событи читател подробност "
                                                "страниц журнал компьютер програм выпуск "
                                                "номер город област правительств рынок "
                                                "компани развити систем решени вопрос")
                                  .split(QLatin1Char(' '));
    const QStringList endings =
        QString::fromUtf8("а и у ой е ам ами ах ов ы ию ей ем ом").split(QLatin1Char(' '));
    quint32 seed = 12345;
    auto next = [&seed](quint32 range) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % range;
    };
    auto word = [&]() {
        return cp1251::fromUnicode(stems[int(next(quint32(stems.size())))] +
                                   endings[int(next(quint32(endings.size())))]) +
               ByteText::number(next(12));
    };
    ByteText html = W("<html><head><title>Статья</title></head><body><h2>Заголовок</h2>");
    int paragraph = 0;
    while (html.size() < bytes) {
        html += "<p>";
        for (int w = 0; w < 90; ++w) {
            if (w % 23 == 5)
                html += "<b>" + word() + "</b> ";
            else if (w % 31 == 7)
                html += "<a href=\"page2.html\">" + word() + " " + word() + "</a>, ";
            else
                html += word() + (w % 11 == 10 ? ". " : " ");
        }
        html += "</p>\n";
        if (++paragraph % 10 == 0)
            html += "<table width=100% border=1><tr><td width=30%>" + word() + "</td><td>" +
                    word() + " " + word() + " " + word() + "</td></tr></table>\n";
    }
    return html + "</body></html>";
}

struct Figures {
    double parseMs;
    double layoutMs;
    double scrollMs;
    double textDocumentMs;
    // Medians of the per-round ratios ours / QTextDocument's.
    double setRatio;    // parse and layout
    double layoutRatio; // layout alone
    int height;
    qsizetype elements;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double elapsedMs(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

// Rounds alternate which side goes first, so a burst of load on the shared
// machine lands on both sides alike; each round's ratio compares runs made
// moments apart.
Figures measure(const ByteText& html, int rounds) {
    Figures f{};
    const QString text = cp1251::toUnicode(html);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    std::vector<double> parse, layout, theirs, setRatios, layoutRatios;
    HtmlDocument doc;
    doc.EnableAnchors = true;
    doc.EnableScroll = true;
    HtmlRenderer renderer(doc);
    for (int round = 0; round < rounds; ++round) {
        double oursParse = 0;
        double oursLayout = 0;
        auto ours = [&] {
            oursParse = elapsedMs([&] { doc.SetDocument(html); });
            renderer.invalidate();
            oursLayout = elapsedMs([&] {
                QtImageSurface surface(image);
                renderer.Render(surface, true);
            });
        };
        double theirsMs = 0;
        auto textDocument = [&] {
            theirsMs = elapsedMs([&] {
                QTextDocument textDocument;
                textDocument.setHtml(text);
                textDocument.setTextWidth(kWidth);
                (void)textDocument.size();
            });
        };
        if (round % 2 == 0) {
            ours();
            textDocument();
        } else {
            textDocument();
            ours();
        }
        parse.push_back(oursParse);
        layout.push_back(oursLayout);
        theirs.push_back(theirsMs);
        setRatios.push_back((oursParse + oursLayout) / theirsMs);
        layoutRatios.push_back(oursLayout / theirsMs);
    }
    f.parseMs = median(parse);
    f.layoutMs = median(layout);
    f.textDocumentMs = median(theirs);
    f.setRatio = median(setRatios);
    f.layoutRatio = median(layoutRatios);
    f.elements = doc.Elements.size();
    for (const HtmlElement& e : doc.Elements)
        f.height = std::max(f.height, e.Bottom);
    // Scroll steps spread over the whole document, one paint each.
    const int maxValue = std::max(1, (f.height - kHeight) / kScrollStep);
    int value = 0;
    f.scrollMs = medianMs(41, [&] {
        QtImageSurface surface(image);
        renderer.Render(surface, false, value);
        value = (value + maxValue / 40 + 1) % (maxValue + 1);
    });
    return f;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString dataDir = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                     : QCoreApplication::applicationDirPath() + "/data";
    struct Case {
        const char* name;
        ByteText html;
        int rounds;
    };
    const Case cases[] = {
        {"issue index", issueIndex(dataDir), 41},
        {"30 KB article", article(30 * 1024), 21},
        {"300 KB page", article(300 * 1024), 11},
    };
    std::printf("%-14s %8s %9s %8s %9s %10s %10s %12s %10s %10s\n", "document", "bytes", "elements",
                "height", "parse ms", "layout ms", "scroll ms", "QTextDoc ms", "set/QTD",
                "layout/QTD");
    for (const Case& c : cases) {
        const Figures f = measure(c.html, c.rounds);
        std::printf("%-14s %8lld %9lld %8d %9.2f %10.2f %10.3f %12.2f %10.2f %10.2f\n", c.name,
                    static_cast<long long>(c.html.size()), static_cast<long long>(f.elements),
                    f.height, f.parseMs, f.layoutMs, f.scrollMs, f.textDocumentMs, f.setRatio,
                    f.layoutRatio);
    }
    std::printf("layout: one full pass at %d px including painting the top; set: parse and "
                "layout; QTextDoc: setHtml and layout at the same width; ratios: median of the "
                "per-round ratios, rounds alternating which side goes first; scroll: one "
                "paint-only step of a %dx%d window (median over the document)\n",
                kWidth, kWidth, kHeight);
    return 0;
}
