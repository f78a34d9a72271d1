// Speed of the processing script: a 300 KB article page in the sites' shape
// (Russian text, pictures, adverts, scripts, counters) through a script of
// 100 rules, 70 replace and 30 cut rules, as one page of a download sees it.
// The script file is read once; later pages use the remembered values.
#include "processing/process_page.h"

#include "tests/support/scripted_messenger.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr int ReplaceRules = 70;
constexpr int CutRules = 30;
constexpr qsizetype PageBytes = 300 * 1024;

ByteText page() {
    const ByteText words = W("Вчера в городе прошло заседание комиссии по вопросам транспорта, "
                             "на котором обсуждали новые маршруты и цены на проезд. ");
    ByteText out = "<html>\r\n<head>\r\n<meta charset=windows-1251>\r\n<title>x</title>\r\n"
                   "<link rel=\"stylesheet\" href=\"/_css/print.css\">\r\n</head>\r\n<body>\r\n";
    for (int block = 0; out.size() < PageBytes; ++block) {
        out += "<!--adv" + ByteText::number(block % CutRules) + "-->" +
               "<script type=\"text/javascript\">var bn = " + ByteText::number(block) +
               ";</script><a href=\"/_adv/click\">buy</a><!--/adv" +
               ByteText::number(block % CutRules) + "-->\r\n";
        for (int p = 0; p < 6; ++p) {
            out += "<p class=\"par" + ByteText::number(p) + "\">";
            for (int s = 0; s < 4; ++s)
                out += words;
            out += "</p>\r\n";
        }
        out += "<div class=\"photo\"><img src=\"/upimg/" + ByteText::number(block) +
               ".jpg\" alt=\"\"></div>\r\n";
    }
    return out + "<!--pager-->\r\n</body>\r\n</html>\r\n";
}

ByteText script() {
    ByteText s = "[Main]\r\nRowsForReplace=" + ByteText::number(ReplaceRules) +
                 "\r\nRowsForCut=" + ByteText::number(CutRules) + "\r\n[Replace]\r\n";
    for (int k = 1; k <= ReplaceRules; ++k) {
        const ByteText n = ByteText::number(k);
        // A few rules fire (the stylesheet, the pager), most find nothing,
        // as with a script written for several layouts of a site.
        ByteText find = k == 1   ? ByteText("/_css/print.css")
                        : k == 2 ? ByteText("<!--pager-->")
                        : k == 3 ? ByteText("<body>")
                                 : "<span class=\"unused" + n + "\">";
        ByteText repl = k == 1 ? ByteText("kp.css")
                        : k == 2
                            ? ByteText("<table class=\"nav\"><tr>%prevpage%%nextpage%</tr></table>")
                        : k == 3 ? ByteText("<body bgcolor=\"#ffffff\">")
                                 : ByteText("<span>");
        s += "FindString" + n + "=" + find + "\r\nReplaceString" + n + "=" + repl + "\r\n";
    }
    s += "[Cut]\r\n";
    for (int k = 1; k <= CutRules; ++k) {
        const ByteText n = ByteText::number(k - 1);
        s += "FindStart" + ByteText::number(k) + "=<!--adv" + n + "-->\r\nFindEnd" +
             ByteText::number(k) + "=<!--/adv" + n + "-->\r\n";
    }
    return s;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath("script.txt");
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return 1;
        f.write(script());
    }
    const ByteText input = page();
    ScriptedMessenger messenger;
    PageProcessor processor(messenger);

    QElapsedTimer first;
    first.start();
    ByteText output = processor.ProcessPage(input, 1, path);
    const double firstMs = first.nsecsElapsed() / 1e6;

    constexpr int Pages = 40;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < Pages; ++i)
        output = processor.ProcessPage(input, 1, path);
    const double perPageMs = timer.nsecsElapsed() / 1e6 / Pages;

    std::printf("ProcessPage: %lld KB page, %d replace + %d cut rules\n",
                static_cast<long long>(input.size() / 1024), ReplaceRules, CutRules);
    std::printf("  first page (script read): %.2f ms\n", firstMs);
    std::printf("  per page:                 %.2f ms (%d pages)\n", perPageMs, Pages);
    std::printf("  output %lld KB, messages %d, script failed: %s\n",
                static_cast<long long>(output.size() / 1024), int(messenger.shown().size()),
                processor.ScriptFailed() ? "yes" : "no");
    return int(messenger.shown().size()) == 0 ? 0 : 1;
}
