// The parts of an unattended run apart from the program: the answers of the
// unattended messenger, the run log's cap and what the end of a run says.
#include "app/run_log.h"
#include "app/unattended_end.h"
#include "app/unattended_messenger.h"
#include "settings/utf8_text.h"
#include "tests/support/temp_program_folder.h"

#include <QRegularExpression>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

TEST(UnattendedMessenger, EachQuestionGetsTheAnswerThatNeedsNobody) {
    bool killConnect = false;
    UnattendedMessenger messenger([&killConnect] { return killConnect; });
    const QString byNumber = U("Не удалось загрузить и(или) обработать главную страницу сайта "
                               "x. Вы можете ...\r\n\r\nПопытаться загрузить выпуск по точному "
                               "номеру?");
    const QString contentsHangUp = U("Ошибка при получении оглавления номера\r\nПродолжение "
                                     "загрузки невозможно.\r\nРазорвать соединение?");
    const QString stop = U("Вы уверены, что хотите остановить процесс загрузки?");
    for (bool kill : {false, true}) {
        killConnect = kill;
        const MessageAnswer hangUp = kill ? MessageAnswer::Yes : MessageAnswer::No;
        EXPECT_EQ(messenger.AnswerFor(byNumber), MessageAnswer::No);
        EXPECT_EQ(messenger.AnswerFor(U("Разорвать соединение?")), hangUp);
        EXPECT_EQ(messenger.AnswerFor(contentsHangUp), hangUp);
        EXPECT_EQ(messenger.AnswerFor(stop), MessageAnswer::Yes);
        EXPECT_EQ(messenger.AnswerFor(U("Установить новую версию?")), MessageAnswer::No);
    }
    EXPECT_EQ(messenger.Show(U("На сайте x технические неполадки."), U("Внимание!"),
                             MessageIcon::Information),
              MessageAnswer::Ok);
    EXPECT_EQ(
        messenger.Show(stop, U("Подтверждение"), MessageIcon::Question, MessageButtons::YesNo),
        MessageAnswer::Yes);
    EXPECT_EQ(messenger.Shown(), QStringList({U("Внимание!: На сайте x технические неполадки."),
                                              U("Подтверждение: ") + stop}));
    EXPECT_EQ(OneLine(U(" a\r\n\r\nb \n c\r")), U("a b c"));
}

TEST(RunLog, KeepsItsNewestLines) {
    TempProgramFolder home(false);
    for (int i = 1; i <= 7; ++i)
        ASSERT_TRUE(AppendRunLog(home.path(), QString("run %1\nsecond line").arg(i), 5));
    const QStringList lines = QString::fromUtf8(home.read("norvel.log")).split('\n');
    ASSERT_EQ(lines.size(), 6) << "five lines, each ended";
    const QRegularExpression line(
        "^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\trun (\\d) second line$");
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(line.match(lines.at(i)).captured(1), QString::number(i + 3));
    EXPECT_FALSE(AppendRunLog(home.file("missing"), "x"));
}

// Counted after every line, at the program's own cap: a cap one off would
// alternate between 1,000 and 1,001 lines and could end on the right count.
TEST(RunLog, KeepsExactlyItsLastThousandLinesAfterEveryAppend) {
    ASSERT_EQ(MaxRunLogLines, 1000);
    TempProgramFolder home(false);
    QByteArray start;
    for (int i = 1; i <= 997; ++i)
        start += "old " + QByteArray::number(i) + "\n";
    home.write("norvel.log", start);
    for (int i = 1; i <= 6; ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(AppendRunLog(home.path(), QString("run %1").arg(i)));
        QList<QByteArray> lines = home.read("norvel.log").split('\n');
        ASSERT_TRUE(lines.takeLast().isEmpty()) << "the last line is ended";
        EXPECT_EQ(lines.size(), std::min(997 + i, MaxRunLogLines));
        EXPECT_TRUE(lines.last().endsWith("\trun " + QByteArray::number(i)));
        const int dropped = std::max(0, 997 + i - MaxRunLogLines);
        EXPECT_EQ(lines.first(), "old " + QByteArray::number(dropped + 1));
    }
}

TEST(UnattendedEnd, StatusSummaryAndLogLineOfEachEnd) {
    WorkflowState st;
    st.IssueNumber = "24001";
    st.LatestIssue = "24001";
    st.IssueDateNumeric = "23.11.2006";
    st.IssueFolder = "/home/r/Download/2006.11.23";
    st.PageCount = 24;
    st.ImageCount = 48;
    DownloadReport report;
    report.pagesSaved = 24;
    report.picturesFetched = true;
    report.picturesSaved = 48;
    report.end = DownloadEnd::Complete;
    UnattendedEnd end = DescribeDownloadEnd(report, st, U("Номер загружен"), {});
    EXPECT_EQ(end.exitStatus, ExitComplete);
    EXPECT_EQ(end.summary, U("Ведомир (kp): номер загружен полностью; номер 24001 от 23.11.2006; "
                             "папка /home/r/Download/2006.11.23; страниц 24 из 24; изображений "
                             "48 из 48."));
    EXPECT_EQ(end.logLine, "kp\tcomplete\t24001 23.11.2006\t/home/r/Download/2006.11.23\t"
                           "pages 24/24\tpictures 48/48\t\t");

    report.end = DownloadEnd::Incomplete;
    report.picturesSaved = 41;
    for (int i = 1; i <= 7; ++i)
        report.failedPaths.append("/upimg/" + ByteText::number(i) + ".gif");
    end = DescribeDownloadEnd(report, st, U("Номер загружен"), {});
    EXPECT_EQ(end.exitStatus, ExitFailed);
    EXPECT_TRUE(end.summary.endsWith(U("; ошибки: не загружены: /upimg/1.gif, /upimg/2.gif, "
                                       "/upimg/3.gif, /upimg/4.gif, /upimg/5.gif и ещё 2.")))
        << end.summary.toStdString();

    DownloadReport failed;
    st.StopRequested = true;
    end = DescribeDownloadEnd(failed, st, U("Загрузка прервана пользователем"), {});
    EXPECT_EQ(end.exitStatus, ExitFailed);
    EXPECT_EQ(end.logLine.split('\t').value(1), "stopped");

    failed.end = DownloadEnd::AlreadyArchived;
    failed.archivedFolder = "/home/r/Download/2006.11.23";
    st.CurrentSource = MagazineSource;
    end = DescribeDownloadEnd(failed, st, QString(), {});
    EXPECT_EQ(end.exitStatus, ExitComplete);
    EXPECT_EQ(end.summary, U("Зенитра (kt): номер уже есть в архиве; номер 24001; папка "
                             "/home/r/Download/2006.11.23."));

    end = DescribeStartFailure(NewspaperSource, U("Программа уже запущена!"));
    EXPECT_EQ(end.exitStatus, ExitNotStarted);
    EXPECT_EQ(end.summary, U("Ведомир (kp): запуск невозможен; ошибки: Программа уже запущена!"));
}

} // namespace
