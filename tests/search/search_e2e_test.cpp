// The archive search on the real program: issues downloaded from the demo
// site (whose articles carry known forms of «фестиваль» and the phrase
// «Северный мост», tools/demosite/russian_text.h), then norvel2 --search
// and --reindex as a user types them.
#include "search/function_words.h"
#include "search/index_terms.h"
#include "settings/utf8_text.h"
#include "tests/support/demo_site.h"
#include "tests/support/issue_folders.h"
#include "tests/support/program_run.h"
#include "tests/support/temp_program_folder.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <csignal>
#include <gtest/gtest.h>

namespace {

// What norvel2 --search printed: the hits' page paths relative to
// Download/, in order.
struct Found {
    int exitCode = -1;
    QStringList pages;
    QString output, errors;
};

Found runSearch(const QString& home, const QStringList& arguments) {
    const ProgramRun run = RunProgram({home, QStringList{"--search"} + arguments}, 60'000);
    Found found{
        run.finished ? run.exitCode : -1, {}, QString::fromUtf8(run.output), run.errorText()};
    const QString download = home + "/Download/";
    for (const QString& line : found.output.split('\n'))
        if (line.startsWith(download))
            found.pages << line.mid(download.size());
    return found;
}

QStringList sorted(QStringList list) {
    list.sort();
    return list;
}

// A program folder with the newest newspaper (23.11.2006) and magazine
// (13.11.2006) issues downloaded by unattended runs, pictures and all (their
// pages are indexed while the pictures arrive).
class SearchArchive : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        home_ = new TempProgramFolder;
        DemoSite site;
        ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
        ASSERT_TRUE(site.installInto(home_->path()));
        for (const char* source : {"-kp", "-kt"})
            ASSERT_EQ(RunProgram(home_->path(), source).exitCode, 0) << source;
    }
    static void TearDownTestSuite() {
        delete home_;
        home_ = nullptr;
    }
    static Found find(const QStringList& arguments) { return runSearch(home_->path(), arguments); }

    static TempProgramFolder* home_;
};
TempProgramFolder* SearchArchive::home_ = nullptr;

const QString KpPage1 = "2006.11.23/page1.html"; // «фестивале», «оркестры»
const QString KpPage2 = "2006.11.23/page2.html"; // «фестиваля», «Северный мост», «ёлку»
const QString KpPage3 = "2006.11.23/page3.html"; // «мост у северной окраины»
const QString KtPage1 = "2006.11.13.KT/page1.html"; // «фестивалях»

} // namespace

TEST_F(SearchArchive, AWordFindsItsOtherFormsWhateverTheCaseAndYo) {
    const Found forms = find({"ФЕСТИВАЛЯМИ"});
    EXPECT_EQ(forms.exitCode, 0) << forms.errors.toStdString();
    EXPECT_EQ(sorted(forms.pages), (QStringList{KtPage1, KpPage1, KpPage2}));
    EXPECT_TRUE(forms.output.contains("[фестивале]")) << forms.output.toStdString();
    EXPECT_TRUE(forms.output.contains(U("23.11.2006  Ведомир (kp) № 24001")))
        << forms.output.toStdString();

    EXPECT_EQ(find({"ёлка"}).pages, QStringList{KpPage2});
    EXPECT_EQ(find({"елка"}).pages, QStringList{KpPage2});
}

TEST_F(SearchArchive, QuotedWordsAreAPhraseAndMinusExcludes) {
    EXPECT_EQ(find({"\"северный мост\""}).pages, QStringList{KpPage2});
    EXPECT_EQ(find({"\"северного моста\""}).pages, QStringList{KpPage2}) << "in any form";
    EXPECT_EQ(sorted(find({"северный", "мост"}).pages), (QStringList{KpPage2, KpPage3}));
    EXPECT_EQ(sorted(find({"фестиваль -оркестр"}).pages), (QStringList{KtPage1, KpPage2}));
    // Function words are not in the index; a phrase holding one still
    // matches, and one left out of the words searched does no harm.
    EXPECT_EQ(find({"\"мост у северной окраины\""}).pages, QStringList{KpPage3});
    EXPECT_EQ(find({"мост", "у", "окраины"}).pages, QStringList{KpPage3});
}

TEST(FunctionWords, GoFromTheQueryAsTheIndexSplitsThem) {
    const QList<std::pair<QString, QString>> cases = {
        {"мост у окраины", "мост  окраины"},
        {"\"мост у окраины\"", "\"мост  окраины\""},
        {"выборы в думу", "выборы  думу"},                // «в» of «выборы» stays
        {"фестиваль -и -оркестр", "фестиваль  -оркестр"}, // with its sign
        {"что-то новое", " новое"},
        {"кто-то", "кто"},
        {"по-новому", "новому"},
        {"-по-новому", "-новому"},
        {"северо-запад", "северо-запад"},
    };
    for (const auto& [query, meant] : cases)
        EXPECT_EQ(search::WithoutFunctionWords(query), meant) << query.toStdString();
}

TEST_F(SearchArchive, SourceAndDatesLimitTheHits) {
    EXPECT_EQ(find({"фестиваль", "--source", "kt"}).pages, QStringList{KtPage1});
    EXPECT_EQ(sorted(find({"фестиваль", "--source", "kp"}).pages), (QStringList{KpPage1, KpPage2}));
    EXPECT_EQ(sorted(find({"--from", "20.11.2006", "фестиваль"}).pages),
              (QStringList{KpPage1, KpPage2}));
    EXPECT_EQ(find({"фестиваль", "--to", "2006-11-13"}).pages, QStringList{KtPage1});
    EXPECT_EQ(find({"фестиваль", "--limit", "1"}).pages.size(), 1);
}

TEST_F(SearchArchive, NoHitsAndBadQueriesSayWhy) {
    const Found none = find({"абракадабра"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_TRUE(none.pages.isEmpty());
    for (const QStringList& bad :
         {QStringList{"-оркестр"}, QStringList{"!!!"}, QStringList{}, QStringList{"и", "в", "на"},
          QStringList{"у -мост"}, QStringList{"фестиваль", "--from", "вчера"},
          QStringList{"фестиваль", "--source", "xx"}, QStringList{"фестиваль", "--limt", "5"}}) {
        const Found refused = find(bad);
        EXPECT_EQ(refused.exitCode, 2) << bad.join(' ').toStdString();
        EXPECT_TRUE(refused.errors.startsWith(U("Запрос не принят: ")))
            << refused.errors.toStdString();
    }
}

TEST_F(SearchArchive, ADeletedDamagedOrOutdatedIndexIsRebuiltWithALine) {
    {
        // As an older version left it: no format mark, and pages held in
        // another way (here: one missing), found only by building it again.
        Xapian::WritableDatabase db(home_->file("search").toStdString());
        db.set_metadata(search::FormatKey, "");
        const std::string page = KpPage3.toStdString();
        const std::string issue = search::IssuePrefix + page.substr(0, page.find('/'));
        std::vector<Xapian::docid> pages(db.postlist_begin(issue), db.postlist_end(issue));
        for (Xapian::docid doc : pages)
            if (db.get_document(doc).get_value(search::PathSlot) == page)
                db.delete_document(doc);
    }
    const Found afterUpgrade = find({"\"мост у северной окраины\""});
    EXPECT_EQ(afterUpgrade.pages, QStringList{KpPage3});
    EXPECT_TRUE(afterUpgrade.errors.contains(U("Поисковый индекс")))
        << afterUpgrade.errors.toStdString();

    ASSERT_TRUE(QDir(home_->file("search")).removeRecursively());
    const Found afterDelete = find({"фестиваль", "--source", "kt"});
    EXPECT_EQ(afterDelete.pages, QStringList{KtPage1});
    EXPECT_TRUE(afterDelete.errors.contains(U("Поисковый индекс")))
        << afterDelete.errors.toStdString();
    EXPECT_TRUE(afterDelete.errors.contains(U("Индексация архива: 2 из 2\n")))
        << "the issues are counted as they go in";

    home_->write("search/iamglass", "not an index");
    const Found afterDamage = find({"фестиваль", "--source", "kt"});
    EXPECT_EQ(afterDamage.pages, QStringList{KtPage1});
    EXPECT_TRUE(afterDamage.errors.contains(U("повреждён"))) << afterDamage.errors.toStdString();
}

// The newest newspaper issue's page 2 fails at first: the incomplete issue
// is indexed with what it has, and its completion replaces it.
TEST(SearchDownloads, AnIssueCompletedAfterBeingIncompleteAppearsOnce) {
    TempProgramFolder home;
    DemoSite site({"--fault", "/100202/print/=404:1"});
    ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
    ASSERT_TRUE(site.installInto(home.path()));
    EXPECT_EQ(RunProgram(home.path(), "-kp").exitCode, 1) << "the first run is incomplete";
    EXPECT_EQ(runSearch(home.path(), {"фестиваль"}).pages, QStringList{KpPage1});

    ASSERT_EQ(RunProgram(home.path(), "-kp").exitCode, 0);
    EXPECT_EQ(sorted(runSearch(home.path(), {"фестиваль"}).pages), (QStringList{KpPage1, KpPage2}));
    EXPECT_EQ(runSearch(home.path(), {"новогоднюю"}).pages, QStringList{KpPage2});
}

TEST(SearchDownloads, RetentionTakesTheRetiredIssueOutOfTheIndex) {
    TempProgramFolder home;
    DemoSite site({"--images", "0"});
    ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
    ASSERT_TRUE(site.installInto(home.path()));
    const QString download = home.file("Download");
    MakeIssueFolder(download, "2006.11.01", QDate(2006, 11, 1), "23980");
    WriteFile(download, "2006.11.01/page1.html",
              IssuePage("Статья", "<p>Старый &laquo;кинофестиваль&raquo; закрыт.</p>"));
    ASSERT_EQ(RunProgram(home.path(), "--reindex").exitCode, 0);
    const Found old = runSearch(home.path(), {"кинофестиваль"});
    ASSERT_EQ(old.pages, QStringList{"2006.11.01/page1.html"});
    EXPECT_EQ(old.errors, "") << "the compacted index keeps its format and is used as it is";

    WriteOptions(home.path(), [](Settings& s) { s.KeepIssues = 1; });
    ASSERT_EQ(RunProgram(home.path(), "-kp").exitCode, 0);
    ASSERT_FALSE(QFileInfo::exists(download + "/2006.11.01"));
    EXPECT_EQ(runSearch(home.path(), {"кинофестиваль"}).exitCode, 1);
    EXPECT_EQ(runSearch(home.path(), {"фестиваль", "--source", "kp"}).pages.size(), 2);
}

// A large archive (the downloaded issue copied), its index built from
// nothing by --reindex and killed once its progress shows: the next search
// opens the index, completes it and finds every copy.
TEST(SearchDownloads, AKillDuringReindexLeavesAnIndexTheNextSearchOpens) {
    TempProgramFolder home;
    {
        DemoSite site({"--images", "0"});
        ASSERT_TRUE(site.isRunning()) << site.error().toStdString();
        ASSERT_TRUE(site.installInto(home.path()));
        ASSERT_EQ(RunProgram(home.path(), "-kp").exitCode, 0);
    }
    const QString download = home.file("Download");
    const QStringList pages = QDir(download + "/2006.11.23").entryList(QDir::Files);
    for (int copy = 1; copy <= 300; ++copy) {
        const QString folder = download + "/copy" + QString::number(copy) + "/";
        QDir().mkpath(folder);
        for (const QString& page : pages)
            QFile::copy(download + "/2006.11.23/" + page, folder + page);
    }

    // Built from nothing: what the kill leaves must not pass for whole.
    ASSERT_TRUE(QDir(home.file("search")).removeRecursively());
    QProcess reindex;
    StartProgram(reindex, {home.path(), {"--reindex"}});
    QByteArray progress;
    ASSERT_TRUE(WaitUntil(
        [&] {
            progress += reindex.readAllStandardError();
            return reindex.state() == QProcess::NotRunning ||
                   progress.contains(U("Индексация архива").toUtf8());
        },
        60'000));
    ASSERT_EQ(reindex.state(), QProcess::Running) << "killed while indexing";
    ::kill(pid_t(reindex.processId()), SIGKILL);
    reindex.waitForFinished();

    const Found after = runSearch(home.path(), {"\"северный мост\"", "--limit", "1000"});
    EXPECT_EQ(after.exitCode, 0) << after.errors.toStdString();
    EXPECT_FALSE(after.errors.contains(U("повреждён"))) << after.errors.toStdString();
    EXPECT_TRUE(after.pages.contains(KpPage2));
    EXPECT_EQ(after.pages.size(), 301);
}
