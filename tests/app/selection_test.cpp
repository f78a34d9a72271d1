// The issue selection windows: the archive test, the number field's rules,
// the list rows and picks, and the real windows driven on the offscreen
// platform.
#include "app/all_number.h"
#include "app/select_number.h"
#include "archive/check_in_archive.h"
#include "processing/issue_index.h"
#include "tests/support/temp_program_folder.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

ByteText IndexNaming(const ByteText& number) {
    return "<html><div class=\"date\">" + W("7 декабря 2005") + " (" + number + ")</div></html>";
}

SelectionData Newspaper(const TempProgramFolder& home) {
    SelectionData d;
    d.CurrentSource = 1;
    d.LatestIssue = "23613";
    d.ProgramFolder = home.path();
    d.TempFolder = home.file("temp");
    d.ArchiveNumbers = {"23612", "23611"};
    d.ArchiveDates = {"6.12.2005", "5.12.2005"};
    d.ArchiveCount = 2;
    return d;
}

SelectionData Magazine(const TempProgramFolder& home) {
    SelectionData d;
    d.CurrentSource = 2;
    d.LatestIssue = "650";
    d.ProgramFolder = home.path();
    d.TempFolder = home.file("temp");
    d.NumberList = {"650", "649", "648"};
    d.DateList = {W("12 января 2006"), W("5 января 2006"), W("29 декабря 2005")};
    d.LinkCount = 3;
    d.CoverFiles = {"650.jpg", "649.png", "648.jpg"};
    QImage cover(20, 30, QImage::Format_RGB32);
    cover.fill(Qt::blue);
    QDir().mkpath(d.TempFolder);
    cover.save(d.TempFolder + "/649.png");
    return d;
}

TEST(CheckInArchive, FindsTheNumberOfAnIssueIndexExactly) {
    TempProgramFolder home;
    home.write("Download/2005.12.07/index.htm", IndexNaming("23613"));
    EXPECT_TRUE(CheckInArchive(home.path(), "23613"));
    EXPECT_FALSE(CheckInArchive(home.path(), "2361"));
    home.write("Download/2005.12.06/index.htm", IndexNaming("23612 "));
    EXPECT_FALSE(CheckInArchive(home.path(), "23612")) << "no trimming";
}

TEST(CheckInArchive, AnIncompleteIssueIsNotArchivedAndAnOldCompleteOneStaysSo) {
    TempProgramFolder home;
    // An index written before the incomplete mark existed, of a complete issue.
    home.write("Download/2005.12.05/index.htm", IndexNaming("23611"));
    home.write("Download/2005.12.06/index.htm",
               IndexNaming("23612") + "<li><a href=\"http://site/daily/23612/3/print/\" "
                                      "class=\"error\">T3</a>");
    home.write("Download/2005.12.07/index.htm",
               IndexNaming("23613") + "<!!!-!!!07.12.2005>" + IndexIncompleteMark);
    EXPECT_TRUE(CheckInArchive(home.path(), "23611"));
    EXPECT_EQ(ArchivedIssueFolder(home.path(), "23611"), home.file("Download/2005.12.05"));
    EXPECT_FALSE(CheckInArchive(home.path(), "23612")) << "a page linked to the live site";
    EXPECT_FALSE(CheckInArchive(home.path(), "23613")) << "marked incomplete";
    EXPECT_TRUE(ArchivedIssueFolder(home.path(), "23613").isEmpty());
}

TEST(CheckInArchive, CreatesTheArchiveFolderWhenMissing) {
    TempProgramFolder home;
    EXPECT_FALSE(CheckInArchive(home.path(), "1"));
    EXPECT_TRUE(QFileInfo(home.file("Download")).isDir());
}

TEST(CheckInArchive, AFolderWithoutDateLineDoesNotHideTheOnesAfterIt) {
    TempProgramFolder home;
    home.write("Download/0001/index.htm", "<html>no date line</html>");
    home.write("Download/0002/index.htm", "<div>no bracket)</div>");
    home.write("Download/0003/other.htm", IndexNaming("555"));
    home.write("Download/2005.12.07/index.htm", IndexNaming("23613"));
    EXPECT_TRUE(CheckInArchive(home.path(), "23613"));
    EXPECT_FALSE(CheckInArchive(home.path(), "555"));
    EXPECT_FALSE(CheckInArchive(home.path(), "")) << "an unreadable date line names no issue";
    EXPECT_EQ(IssueNumberOfIndex("a (1) (23)</div> (9)</div>"), ByteText("23"));
}

TEST(SelectNumberRules, KeyFilterTypesOnlyDigitsAndDotAndLetsEditingKeysThrough) {
    EXPECT_TRUE(SelectNumberModel::AcceptsKey(Qt::Key_5, "5"));
    EXPECT_TRUE(SelectNumberModel::AcceptsKey(Qt::Key_Period, "."));
    EXPECT_TRUE(SelectNumberModel::AcceptsKey(Qt::Key_Backspace, "\b"));
    EXPECT_FALSE(SelectNumberModel::AcceptsKey(Qt::Key_A, "a"));
    EXPECT_FALSE(SelectNumberModel::AcceptsKey(Qt::Key_Minus, "-"));
    EXPECT_FALSE(SelectNumberModel::AcceptsKey(0, QString::fromUtf8("٣"))) << "other digits";
    for (const char* typesNothing : {"\r", "\x1b", "\x7f", "\x01", "\x16"})
        EXPECT_TRUE(SelectNumberModel::AcceptsKey(0, typesNothing)) << int(typesNothing[0]);
    EXPECT_EQ(SelectNumberModel::Typable(QString::fromUtf8("№ 23\t614а.")), "23614.");
}

TEST(SelectNumberRules, NewspaperNeedsFiveCharactersWhileTyping) {
    TempProgramFolder home;
    SelectNumberModel model(Newspaper(home));
    model.Open();
    model.SelectOption(true);
    EXPECT_TRUE(model.command1Enabled);
    model.ApplyKeyRule("2361");
    EXPECT_FALSE(model.command1Enabled);
    model.ApplyKeyRule("23613");
    EXPECT_TRUE(model.command1Enabled);
}

TEST(SelectNumberRules, OtherWithAShortNumberDisablesLoad) {
    TempProgramFolder home;
    SelectionData data = Newspaper(home);
    data.LatestIssue = "123";
    SelectNumberModel model(data);
    model.Open();
    EXPECT_TRUE(model.command1Enabled);
    EXPECT_FALSE(model.text1Enabled);
    EXPECT_FALSE(model.command3Enabled);
    model.SelectOption(true);
    EXPECT_FALSE(model.command1Enabled);
    EXPECT_TRUE(model.text1Enabled);
    EXPECT_TRUE(model.command3Enabled);
}

TEST(SelectNumberRules, ArchivedNewestIssueEndsAnUnattendedRunOnly) {
    TempProgramFolder home;
    home.write("Download/x/index.htm", IndexNaming("23613"));
    SelectionData data = Newspaper(home);
    SelectNumberModel interactive(data);
    interactive.Open();
    EXPECT_TRUE(interactive.label3Visible);
    EXPECT_FALSE(interactive.EndsAtOnce());
    data.Unattended = true;
    SelectNumberModel unattended(data);
    unattended.Open();
    EXPECT_TRUE(unattended.EndsAtOnce());
}

TEST(SelectNumberRules, ByNumberModeStartsAtOtherWithoutTheFoundIssue) {
    TempProgramFolder home;
    SelectionData data = Newspaper(home);
    data.LatestIssue.clear();
    data.ByNumberOnly = true;
    SelectNumberModel model(data);
    model.Open();
    EXPECT_TRUE(model.option2Selected);
    EXPECT_FALSE(model.option1Enabled);
    EXPECT_FALSE(model.command3Enabled);
    EXPECT_FALSE(model.command1Enabled) << "nothing typed yet";
}

TEST(SelectNumberRules, PickedDateGoesWithItsNumberOnly) {
    TempProgramFolder home;
    SelectionData data = Newspaper(home);
    AllNumberModel list(data);
    AllNumberModel::Pick pick = list.Choose(0);
    EXPECT_EQ(pick.number, "23612");
    EXPECT_EQ(pick.IssueDateOverride, ByteText("06.12.2005"));

    SelectNumberModel model(data);
    model.Open();
    model.SelectOption(true);
    model.TakePick(pick.number, pick.selectedIssue, pick.cover, pick.IssueDateOverride);
    SelectionChoice choice = model.Load();
    EXPECT_EQ(choice.IssueNumber, ByteText("23612"));
    EXPECT_EQ(choice.IssueDateOverride, ByteText("06.12.2005"));
    model.TextChanged("23600");
    EXPECT_TRUE(model.Load().IssueDateOverride.isEmpty());
    model.SelectOption(false);
    EXPECT_EQ(model.Load().IssueNumber, ByteText("23613"));
    EXPECT_TRUE(model.Load().IssueDateOverride.isEmpty());
}

TEST(SelectNumberRules, ListRowsAreFixedColumns) {
    TempProgramFolder home;
    SelectionData data = Newspaper(home);
    data.ArchiveNumbers = {"23613", "123456789", "1234567890"};
    data.ArchiveDates = {"7.12.2005", "17.12.2005", "1.1.2006"};
    data.ArchiveCount = 3;
    AllNumberModel list(data);
    EXPECT_EQ(list.Rows(), QStringList({"23613    |   07.12.2005", "123456789|   17.12.2005",
                                        "1234567890|   001.1.2006"}));

    AllNumberModel magazine(Magazine(home));
    EXPECT_EQ(magazine.Rows(), QStringList({"649      |   05.01.2006", "648      |   29.12.2005"}))
        << "the newest issue is left out";
}

TEST(SelectNumberRules, MagazinePickSetsIssueNumberAndCover) {
    TempProgramFolder home;
    SelectionData data = Magazine(home);
    AllNumberModel list(data);
    list.Click(0);
    EXPECT_TRUE(list.command1Enabled);
    EXPECT_EQ(list.SelectedIssue, 2);
    EXPECT_TRUE(list.cover.endsWith("649.png"));
    list.Click(1);
    EXPECT_TRUE(list.cover.isEmpty()) << "missing cover: the placeholder";

    SelectNumberModel model(data);
    model.Open();
    EXPECT_TRUE(model.text1ReadOnly);
    EXPECT_TRUE(model.cover.isEmpty()) << "cover of the newest issue was not fetched";
    model.SelectOption(true);
    AllNumberModel::Pick pick = list.Choose(0);
    model.TakePick(pick.number, pick.selectedIssue, pick.cover, pick.IssueDateOverride);
    EXPECT_EQ(model.text1, "649");
    EXPECT_TRUE(model.cover.endsWith("649.png"));
    SelectionChoice choice = model.Load();
    EXPECT_EQ(choice.SelectedIssue, 2);
    EXPECT_EQ(choice.IssueDateNumeric, ByteText("5.01.2006"));
}

TEST(SelectNumberRules, MagazineOtherWithoutPickTakesTheNewestIssue) {
    TempProgramFolder home;
    SelectionData data = Magazine(home);
    data.SelectedIssue = 0;
    SelectNumberModel model(data);
    model.Open();
    model.SelectOption(true);
    EXPECT_EQ(model.Load().SelectedIssue, 1);
}

// The windows themselves, offscreen.

TEST(SelectNumberWindow, TypingIsFilteredAndTheLengthRuleFollowsTheKeys) {
    TempProgramFolder home;
    Select_Number window(Newspaper(home));
    Select_Number::Outcome outcome = Select_Number::Outcome::Load;
    QTimer::singleShot(0, &window, [&] {
        window.Option2->click();
        window.Text1->clear();
        QTest::keyClicks(window.Text1, "23a6.1");
        EXPECT_EQ(window.Text1->text(), "236.1");
        EXPECT_TRUE(window.Command1->isEnabled());
        QTest::keyClick(window.Text1, Qt::Key_Backspace);
        EXPECT_EQ(window.Text1->text(), "236.");
        EXPECT_FALSE(window.Command1->isEnabled());
        window.Command2->click();
    });
    outcome = window.Run();
    EXPECT_EQ(outcome, Select_Number::Outcome::Cancel);
}

// The field behaves as any text field: editing keys and the clipboard work,
// a paste keeps only what could be typed, Enter loads, Esc cancels.
TEST(SelectNumberWindow, NumberFieldTakesTheKeysOfATextField) {
    TempProgramFolder home;
    Select_Number window(Newspaper(home));
    QTimer::singleShot(0, &window, [&] {
        window.Option2->click();
        QLineEdit* field = window.Text1;
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QApplication::clipboard()->text(), "23613");
        QTest::keyClick(field, Qt::Key_Home);
        QTest::keyClick(field, Qt::Key_Delete);
        EXPECT_EQ(field->text(), "3613");
        QTest::keyClick(field, Qt::Key_End);
        QTest::keyClick(field, Qt::Key_Backspace);
        EXPECT_EQ(field->text(), "361");
        QApplication::clipboard()->setText(QString::fromUtf8("№ 23 614а"));
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(field->text(), "23614");
        EXPECT_TRUE(window.Command1->isEnabled());
        QTest::keyClick(field, Qt::Key_Return);
    });
    EXPECT_EQ(window.Run(), Select_Number::Outcome::Load);
    EXPECT_EQ(window.Choice().IssueNumber, ByteText("23614"));

    // After a failed main page the field has the focus; Esc cancels from it.
    SelectionData byNumber = Newspaper(home);
    byNumber.ByNumberOnly = true;
    Select_Number again(byNumber);
    QWidget* focused = nullptr;
    QTimer::singleShot(0, &again, [&] {
        focused = again.focusWidget();
        QTest::keyClick(again.Text1, Qt::Key_Escape);
        if (again.isVisible()) {
            ADD_FAILURE() << "Esc left the window open";
            again.reject();
        }
    });
    EXPECT_EQ(again.Run(), Select_Number::Outcome::Cancel);
    EXPECT_EQ(focused, again.Text1);
}

TEST(SelectNumberWindow, UnattendedRunPressesLoadItself) {
    TempProgramFolder home;
    SelectionData data = Newspaper(home);
    data.Unattended = true;
    Select_Number window(data);
    EXPECT_EQ(window.Run(), Select_Number::Outcome::Load);
    EXPECT_EQ(window.Choice().IssueNumber, ByteText("23613"));
}

// A run nobody can see makes its choice without the window: the same one as
// the window's own press, for both sources, archived or not.
TEST(SelectNumberWindow, WindowlessChoiceIsTheWindowsOwnPress) {
    TempProgramFolder home;
    for (bool magazine : {false, true}) {
        for (bool archived : {false, true}) {
            SCOPED_TRACE(testing::Message() << "magazine " << magazine << " archived " << archived);
            if (archived)
                home.write("Download/x/index.htm", IndexNaming(magazine ? "650" : "23613"));
            SelectionData data = magazine ? Magazine(home) : Newspaper(home);
            data.Unattended = true;
            Select_Number window(data);
            const Select_Number::Outcome pressed = window.Run();
            SelectionChoice choice;
            EXPECT_EQ(SelectUnattended(data, choice), pressed);
            EXPECT_EQ(pressed,
                      archived ? Select_Number::Outcome::EndProgram : Select_Number::Outcome::Load);
            if (archived) {
                QFile::remove(home.file("Download/x/index.htm"));
                continue;
            }
            const SelectionChoice shown = window.Choice();
            EXPECT_EQ(choice.IssueNumber, shown.IssueNumber);
            EXPECT_EQ(choice.SelectedIssue, shown.SelectedIssue);
            EXPECT_EQ(choice.IssueDate, shown.IssueDate);
            EXPECT_EQ(choice.IssueDateNumeric, shown.IssueDateNumeric);
            EXPECT_EQ(choice.IssueDateOverride, shown.IssueDateOverride);
        }
    }
}

TEST(SelectNumberWindow, ArchivedIssueShowsTheNoteAndEndsUnattendedRunWithoutShowing) {
    TempProgramFolder home;
    home.write("Download/2005.12.07/index.htm", IndexNaming("23613"));
    SelectionData data = Newspaper(home);
    data.Unattended = true;
    Select_Number window(data);
    // Hidden again by the time Run returns would look the same: count shows.
    struct ShowCounter : QObject {
        int shows = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            shows += event->type() == QEvent::Show ? 1 : 0;
            return false;
        }
    } counter;
    window.installEventFilter(&counter);
    EXPECT_EQ(window.Run(), Select_Number::Outcome::EndProgram);
    EXPECT_EQ(counter.shows, 0);
    EXPECT_FALSE(window.Label3->isHidden());
}

TEST(SelectNumberWindow, ListWindowPickFillsTheNumberField) {
    TempProgramFolder home;
    Select_Number window(Magazine(home));
    window.setListWindowHook([](AllNumber& list) {
        QTimer::singleShot(0, &list, [&list] {
            EXPECT_FALSE(list.Command1->isEnabled());
            EXPECT_TRUE(list.List1->font().fixedPitch());
            EXPECT_EQ(list.List1->count(), 2);
            // The list given the focus takes a current row: no pick yet.
            QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
            QApplication::sendEvent(list.List1, &focus);
            EXPECT_FALSE(list.Command1->isEnabled());
            list.List1->setCurrentRow(0);
            EXPECT_TRUE(list.Command1->isEnabled());
            list.Command1->click();
        });
    });
    QTimer::singleShot(0, &window, [&] {
        EXPECT_TRUE(window.Text1->isReadOnly());
        EXPECT_FALSE(window.Command3->isEnabled());
        window.Option2->click();
        EXPECT_TRUE(window.Command3->isEnabled());
        window.Command3->click();
        EXPECT_EQ(window.Text1->text(), "649");
        window.Command1->click();
    });
    EXPECT_EQ(window.Run(), Select_Number::Outcome::Load);
    EXPECT_EQ(window.Choice().SelectedIssue, 2);
    EXPECT_EQ(window.Choice().IssueNumber, ByteText("649"));
}

} // namespace
