// The processing script: replace and cut passes, "+CrLf", the loop limits,
// the order check, the messages and the pass-through after a failure.
#include "processing/cut_replace.h"
#include "processing/process_page.h"
#include "tests/support/scripted_messenger.h"

#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

struct Rule {
    ByteText a, b;
};

// A script file with the given replace and cut rules for one source;
// counts default to the number of rules given.
class Script {
public:
    Script() : path_(dir_.filePath("script.txt")) {}

    void write(const QList<Rule>& replaces, const QList<Rule>& cuts, const ByteText& suffix = "",
               int replaceCount = -1, int cutCount = -1) {
        ByteText text = "[Main]\r\nRowsForReplace" + suffix + "=" +
                        ByteText::number(replaceCount < 0 ? replaces.size() : replaceCount) +
                        "\r\nRowsForCut" + suffix + "=" +
                        ByteText::number(cutCount < 0 ? cuts.size() : cutCount) +
                        "\r\n[Replace]\r\n";
        for (int k = 0; k < replaces.size(); ++k) {
            const ByteText n = ByteText::number(k + 1);
            text += "FindString" + suffix + n + "=" + replaces[k].a + "\r\n";
            text += "ReplaceString" + suffix + n + "=" + replaces[k].b + "\r\n";
        }
        text += "[Cut]\r\n";
        for (int k = 0; k < cuts.size(); ++k) {
            const ByteText n = ByteText::number(k + 1);
            text += "FindStart" + suffix + n + "=" + cuts[k].a + "\r\n";
            text += "FindEnd" + suffix + n + "=" + cuts[k].b + "\r\n";
        }
        QFile f(path_);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }
    QString path() const { return path_; }

private:
    QTemporaryDir dir_;
    QString path_;
};

ByteText repeated(const ByteText& piece, int times) {
    ByteText out;
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

} // namespace

TEST(TextRoutines, ReplaceFirstAndCutBetween) {
    ByteText t = "a-b-c";
    ReplaceFirst(t, "-", "+");
    EXPECT_EQ(t, "a+b-c");
    ReplaceFirst(t, "?", "!");
    EXPECT_EQ(t, "a+b-c");
    ByteText c = "x[1]y[2]z";
    CutBetween(c, "[", "]");
    EXPECT_EQ(c, "xy[2]z");
    ByteText missing = "x[1";
    CutBetween(missing, "[", "]");
    EXPECT_EQ(missing, "x[1");
    ByteText reversed = "a]b[c";
    CutBetween(reversed, "[", "]");
    EXPECT_EQ(reversed, "a]bb[c") << "end before start: the middle comes out twice";
}

TEST(TextRoutines, TitleToPlainText) {
    ByteText t = "<h2>Tom &amp; Jerry/2</h2>";
    EXPECT_EQ(TitleToPlainText(t), "Tom &amp; Jerry2");
    EXPECT_EQ(t, "Tom &amp; Jerry2");
    ByteText u = "\r\n  >&quot;" + W("Новый\r\nпроцессор") + "&quot;&nbsp;<";
    EXPECT_EQ(TitleToPlainText(u), "\"" + W("Новый  процессор") + "\"");
}

TEST(ProcessPage, ReplacesThenCutsWithLineBreaks) {
    Script script;
    script.write({{"<b>", "<strong>"}, {"#", "a+CrLf+CrLfb"}},
                 {{"<script", "</script>"}, {"<!--adv-->", "<!--/adv-->"}});
    ScriptedMessenger messenger;
    PageProcessor processor(messenger);
    ByteText page = "<b>1</b><script>x</script>#<!--adv-->buy<!--/adv--><script>y</script>#.";
    EXPECT_EQ(processor.ProcessPage(page, 1, script.path()), "<strong>1</b>a\r\n\r\nba\r\n\r\nb.");
    EXPECT_TRUE(messenger.shown().isEmpty());
    EXPECT_FALSE(processor.ScriptFailed());
}

TEST(ProcessPage, NoReplaceRulesMeansNoCutsEither) {
    Script script;
    script.write({}, {{"<", ">"}, {"a", "b"}, {"c", "d"}}, "", 0, 3);
    ScriptedMessenger messenger;
    PageProcessor processor(messenger);
    EXPECT_EQ(processor.ProcessPage("<i>abcd</i>", 1, script.path()), "<i>abcd</i>");
}

TEST(ProcessPage, MissingScriptPassesThePageQuietly) {
    ScriptedMessenger messenger;
    PageProcessor processor(messenger);
    EXPECT_EQ(processor.ProcessPage("page", 1, "/nonexistent/script.txt"), "page");
    EXPECT_TRUE(messenger.shown().isEmpty());
}

TEST(ProcessPage, AMissingScriptBesideTheShippedOneIsReportedOncePerRun) {
    Script shipped;
    shipped.write({{"x", "y"}}, {});
    ScriptedMessenger messenger;
    PageProcessor processor(messenger);
    processor.setShippedScript(shipped.path());
    const QString lost = QString::fromUtf8("/home/Za\?\?\?\?/data/script.txt");
    EXPECT_EQ(processor.ProcessPage("page x", 1, lost), "page x");
    EXPECT_EQ(processor.ProcessPage("page x", 2, lost), "page x");
    ASSERT_EQ(messenger.shown().size(), 1);
    EXPECT_TRUE(messenger.shown().first().text.contains(lost));
    EXPECT_TRUE(messenger.shown().first().text.contains(shipped.path()));
    EXPECT_EQ(processor.ProcessPage("page x", 1, shipped.path()), "page y")
        << "the report stops nothing";
}

TEST(ProcessPage, SevenHundredReplacementsArePermittedPerPage) {
    Script script;
    script.write({{"x", "y"}, {"q", "w"}}, {});
    ScriptedMessenger messenger;
    PageProcessor processor(messenger);
    const ByteText page = repeated("x", 400) + repeated("q", 300);
    EXPECT_EQ(processor.ProcessPage(page, 1, script.path()),
              repeated("y", 400) + repeated("w", 300));
    EXPECT_TRUE(messenger.shown().isEmpty());
}

TEST(ProcessPage, TheSevenHundredAndFirstReplacementFailsThePage) {
    for (const ByteText& page : {repeated("x", 701), repeated("x", 400) + repeated("q", 400)}) {
        Script script;
        script.write({{"x", "y"}, {"q", "w"}}, {});
        ScriptedMessenger messenger;
        PageProcessor processor(messenger);
        EXPECT_EQ(processor.ProcessPage(page, 1, script.path()), page);
        ASSERT_EQ(messenger.shown().size(), 1);
        const ShownMessage& m = messenger.shown()[0];
        EXPECT_EQ(m.title, "Ошибка");
        EXPECT_EQ(m.icon, MessageIcon::Error);
        EXPECT_EQ(m.buttons, MessageButtons::Ok);
        EXPECT_TRUE(processor.ScriptFailed());
    }
}

TEST(ProcessPage, SelfContainingReplacementLoopsAndNamesItsTexts) {
    Script script;
    script.write({{"X", "X+CrLfX"}}, {});
    ScriptedMessenger messenger;
    PageProcessor processor(messenger);
    EXPECT_EQ(processor.ProcessPage("aXb", 1, script.path()), "aXb");
    ASSERT_EQ(messenger.shown().size(), 1);
    EXPECT_EQ(messenger.shown()[0].text,
              "Обнаружен бесконечный цикл в модуле замены строк!\r\nСтрока поиска: X\r\n"
              "Строка замены: X\r\nX\r\n\r\nОтредактируйте script.txt!");
}

TEST(ProcessPage, ACounterBeyondTheRulesReadsAnEmptyFindText) {
    Script script;
    script.write({{"a", "b"}}, {}, "", 2);
    ScriptedMessenger messenger;
    PageProcessor processor(messenger);
    EXPECT_EQ(processor.ProcessPage("aaa", 1, script.path()), "aaa");
    ASSERT_EQ(messenger.shown().size(), 1);
    EXPECT_TRUE(messenger.shown()[0].text.contains("Строка поиска: \r\n"));
}

TEST(ProcessPage, CutEndBeforeStartIsAnOrderFailureKeepingTheReplacements) {
    Script script;
    script.write({{"r", "R"}}, {{"[", "]"}});
    ScriptedMessenger messenger;
    PageProcessor processor(messenger);
    EXPECT_EQ(processor.ProcessPage("r]x[y]r", 1, script.path()), "R]x[y]R");
    ASSERT_EQ(messenger.shown().size(), 1);
    EXPECT_EQ(messenger.shown()[0].text,
              "Обнаружена ошибка при работе модуля удаления строк!\r\n"
              "Строка окончания поиска: ]\r\nнайдена раньше строки начала поиска: [\r\n\r\n"
              "Отредактируйте script.txt!");
}

TEST(ProcessPage, ScriptElementsGoOneByOneUpToAHundred) {
    Script script;
    script.write({{"<body>", "<body bgcolor=\"#ffffff\">"}}, {{"<script", "</script>"}});
    const ByteText element = "<script type=\"text/javascript\">f();</script>\r\n";
    {
        ScriptedMessenger messenger;
        PageProcessor processor(messenger);
        EXPECT_EQ(processor.ProcessPage("<body>" + repeated("t" + element, 100), 1, script.path()),
                  "<body bgcolor=\"#ffffff\">" + repeated("t\r\n", 100));
        EXPECT_TRUE(messenger.shown().isEmpty());
    }
    ScriptedMessenger messenger;
    PageProcessor processor(messenger);
    EXPECT_EQ(processor.ProcessPage("<body>" + repeated(element, 101), 1, script.path()),
              "<body bgcolor=\"#ffffff\">" + repeated(element, 101));
    ASSERT_EQ(messenger.shown().size(), 1);
    EXPECT_EQ(messenger.shown()[0].text,
              "Обнаружен бесконечный цикл в модуле удаления строк!\r\nСтрока начала поиска: "
              "<script\r\nСтрока окончания поиска: </script>\r\n\r\nОтредактируйте script.txt!");
}

TEST(ProcessPage, EmptyCutTextsLoopOrFailTheOrderCheck) {
    Script script;
    script.write({{"z", "z1"}}, {{"", ""}});
    ScriptedMessenger messenger;
    PageProcessor processor(messenger);
    processor.ProcessPage("abc", 1, script.path());
    ASSERT_EQ(messenger.shown().size(), 1);
    EXPECT_TRUE(
        messenger.shown()[0].text.startsWith("Обнаружен бесконечный цикл в модуле удаления"));

    Script second;
    second.write({{"z", "z1"}}, {{"b", ""}});
    ScriptedMessenger other;
    PageProcessor fresh(other);
    fresh.ProcessPage("abc", 1, second.path());
    ASSERT_EQ(other.shown().size(), 1);
    EXPECT_TRUE(other.shown()[0].text.startsWith("Обнаружена ошибка"));
}

TEST(ProcessPage, AfterAFailureEveryPagePassesUnprocessedAndSilently) {
    Script script;
    script.write({{"X", "XX"}, {"a", "b"}}, {});
    ScriptedMessenger messenger;
    PageProcessor processor(messenger);
    processor.ProcessPage("X", 1, script.path());
    ASSERT_EQ(messenger.shown().size(), 1);
    EXPECT_EQ(processor.ProcessPage("aaa", 1, script.path()), "aaa");
    EXPECT_EQ(processor.ProcessPage("aaa", 2, script.path()), "aaa");
    EXPECT_EQ(messenger.shown().size(), 1);
}

TEST(ProcessPage, EachSourceUsesItsOwnRuleSet) {
    Script script;
    script.write({{"a", "CT"}}, {}, "CT");
    ScriptedMessenger messenger;
    PageProcessor processor(messenger);
    EXPECT_EQ(processor.ProcessPage("a-a", 2, script.path()), "CT-CT");
    EXPECT_EQ(processor.ProcessPage("a-a", 1, script.path()), "a-a")
        << "newspaper pages see no magazine rules";
}

TEST(ProcessPage, AnEditedScriptTakesEffectWithTheNextPage) {
    Script script;
    script.write({{"a", "b"}}, {});
    ScriptedMessenger messenger;
    PageProcessor processor(messenger);
    EXPECT_EQ(processor.ProcessPage("a", 1, script.path()), "b");
    script.write({{"a", "cc"}}, {});
    EXPECT_EQ(processor.ProcessPage("a", 1, script.path()), "cc") << "a change of size";
    QThread::msleep(20);
    script.write({{"a", "dd"}}, {});
    EXPECT_EQ(processor.ProcessPage("a", 1, script.path()), "dd") << "a change of time";
}

TEST(ProcessPage, ReplacementsThatBuildNewMatchesAreFollowed) {
    // "ab" -> "a" makes a new "ab" of the character before: the rule runs
    // until none is left, just as a search from the start would find them.
    Script script;
    script.write({{"ab", "a"}, {"xy", "yx"}}, {});
    ScriptedMessenger messenger;
    PageProcessor processor(messenger);
    EXPECT_EQ(processor.ProcessPage("abbbb-xxy", 1, script.path()), "a-yxx");
}
