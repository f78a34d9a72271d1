// The main index over a folder of copied issues: both kinds of issue, the
// heading read back, the markers, and the three messages.
#include "processing/main_index.h"
#include "tests/support/scripted_messenger.h"
#include "tests/support/temp_program_folder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

ByteText issueIndex(const char* date, const ByteText& number) {
    return "<html><body><table><tr><td><div class=\"date\">" + W(date) + " (" + number +
           ")</div></td></tr></table></body></html>\r\n";
}

ByteText entry(const ByteText& folder, const char* date, const ByteText& number) {
    return "<a href=\"" + folder + "/index.htm\" class=\"b\">" + W(date) + W(" (номер ") + number +
           ")</a><br>\r\n";
}

struct MainIndexCopy {
    TempProgramFolder home;
    QString target = home.file("copy");
    ScriptedMessenger messenger;

    MainIndexCopy() {
        home.write("data/mainindex.dat",
                   "<kp><!!!--norvel2--!!!></kp><kt><!!!--norvel2KT--!!!></kt>");
        QDir().mkpath(target);
    }
    void issue(const QString& name, const ByteText& index) const {
        home.write("copy/" + name + "/index.htm", index);
    }
    MainIndexResult build() { return BuildMainIndex(target, home.path(), messenger); }
    ByteText result() const { return home.read("copy/index.htm"); }
};

} // namespace

TEST(MainIndex, ListsNewspaperAndMagazineIssuesApartInNameOrder) {
    MainIndexCopy f;
    f.issue("23613", issueIndex("7 декабря 2005", "23613"));
    f.issue("12.01.2005.KT", issueIndex("12 января 2005", "575"));
    f.issue("23456", issueIndex("12 января 2005", "23456"));
    f.issue("old.kt", issueIndex("1 мая 2004", "1"));
    QDir().mkpath(f.target + "/img"); // no index page: left out
    f.home.write("copy/stray.htm", "x");
    ASSERT_EQ(f.build(), MainIndexResult::Written);
    EXPECT_EQ(f.result(), "<kp>" + entry("23456", "12 января 2005", "23456") +
                              entry("23613", "7 декабря 2005", "23613") +
                              entry("old.kt", "1 мая 2004", "1") + "</kp><kt>" +
                              entry("12.01.2005.KT", "12 января 2005", "575") + "</kt>\r\n");
    EXPECT_TRUE(f.messenger.shown().isEmpty());

    const ByteText first = f.result();
    ASSERT_EQ(f.build(), MainIndexResult::Written);
    EXPECT_EQ(f.result(), first) << "the main index itself is never listed";
}

TEST(MainIndex, HeadingsWithoutNumberOrDateAreListedAsInvalid) {
    MainIndexCopy f;
    f.issue("a", "<div class=\"date\">" + W("12 января 2005") + "</div>");
    f.issue("b", "<html>no heading</html>");
    f.build();
    EXPECT_EQ(f.result(), "<kp>" + entry("a", "date invalid", "not found") +
                              entry("b", "date invalid", "not found") + "</kp><kt></kt>\r\n");
}

TEST(MainIndex, FoldersWithoutIndexPagesLeaveBothMarkersEmpty) {
    MainIndexCopy f;
    QDir().mkpath(f.target + "/one");
    QDir().mkpath(f.target + "/two.KT");
    ASSERT_EQ(f.build(), MainIndexResult::Written);
    EXPECT_EQ(f.result(), "<kp></kp><kt></kt>\r\n");
}

TEST(MainIndex, ATemplateWithOneMarkerDropsTheOtherList) {
    MainIndexCopy f;
    f.home.write("data/mainindex.dat", "<!!!--norvel2--!!!>");
    f.issue("1.KT", issueIndex("1 мая 2004", "1"));
    f.issue("2", issueIndex("2 мая 2004", "2"));
    f.build();
    EXPECT_EQ(f.result(), entry("2", "2 мая 2004", "2") + "\r\n");
}

TEST(MainIndex, Messages) {
    MainIndexCopy f;
    EXPECT_EQ(BuildMainIndex("", f.home.path(), f.messenger), MainIndexResult::NoFolder);
    ASSERT_EQ(f.messenger.shown().size(), 1);
    EXPECT_EQ(f.messenger.shown()[0].text, "А каталог назначения мне самому выбирать?!");
    EXPECT_EQ(f.messenger.shown()[0].title, "Ошибка: не выбран каталог");
    EXPECT_EQ(f.messenger.shown()[0].icon, MessageIcon::Question);

    f.messenger.clear();
    EXPECT_EQ(f.build(), MainIndexResult::NoIssues);
    ASSERT_EQ(f.messenger.shown().size(), 1);
    EXPECT_EQ(f.messenger.shown()[0].text, "Нет номеров для построения общего индекса!");
    EXPECT_EQ(f.messenger.shown()[0].title, "Ошибка");
    EXPECT_EQ(f.messenger.shown()[0].icon, MessageIcon::Information);
    EXPECT_FALSE(QFile::exists(f.target + "/index.htm"));

    f.messenger.clear();
    QFile::remove(f.home.file("data/mainindex.dat"));
    EXPECT_EQ(f.build(), MainIndexResult::NoTemplate);
    ASSERT_EQ(f.messenger.shown().size(), 1);
    EXPECT_EQ(f.messenger.shown()[0].text, "Не найден файл шаблона для построения индекса:\r\n" +
                                               f.home.path() + "/data/mainindex.dat");
    EXPECT_EQ(f.messenger.shown()[0].icon, MessageIcon::Error);
}

TEST(MainIndex, HeadingReader) {
    IssueHeading h =
        ReadIssueHeading("<div class=\"date\">" + W("12 января 2005") + " (23456)</div>");
    EXPECT_EQ(h.date, W("12 января 2005"));
    EXPECT_EQ(h.number, "23456");
    h = ReadIssueHeading("<div class=\"date\">(7)</div>");
    EXPECT_EQ(h.date, "");
    EXPECT_EQ(h.number, "7");
    h = ReadIssueHeading("<div class=\"date\">never closed (9)");
    EXPECT_EQ(h.number, "9)") << "an unclosed heading is read to the end of the page";
}
