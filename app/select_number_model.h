#pragma once
// The rules of the issue selection windows, apart from their widgets: which
// controls are usable, what the number field accepts, whether the issue in
// question is already archived, which cover to show, the rows of the list of
// other issues, and what "Загрузка" hands to the download. The windows
// (select_number.h, all_number.h) only mirror this state.

#include "settings/bytetext.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

// What the main-page step offers the windows. Entry i of a list (i from 1)
// is element i - 1.
struct SelectionData {
    int16_t CurrentSource = 1; // 1 newspaper, 2 magazine
    ByteText LatestIssue;
    QString ProgramFolder;
    QString TempFolder;
    QList<ByteText> CoverFiles; // magazine: cover file of each issue in TempFolder
    QList<ByteText> NumberList; // magazine: issue numbers of the main page
    QList<ByteText> DateList;   // magazine: their dates as printed
    int16_t LinkCount = 0;
    QList<ByteText> ArchiveNumbers; // newspaper: issues of the archive page
    QList<ByteText> ArchiveDates;   // ...and their dates, d.mm.yyyy
    int16_t ArchiveCount = 0;
    int16_t SelectedIssue = 1; // the pick of an earlier download, kept
    bool Unattended = false;   // started with -kp or -kt
    // The newspaper's main page failed: "Другой:" is preselected and neither
    // "Найденный номер" nor the list can be used.
    bool ByNumberOnly = false;
};

// How the selection window ended.
enum class SelectionOutcome {
    Load,       // "Загрузка": the choice holds the issue
    Cancel,     // "Отмена" or the window closed
    EndProgram, // unattended run, the newest issue is already archived
};

// What "Загрузка" hands to the table-of-contents step.
struct SelectionChoice {
    ByteText IssueNumber;
    int16_t SelectedIssue = 1;
    ByteText IssueDate;
    ByteText IssueDateNumeric;
    ByteText IssueDateOverride; // a date picked in the list, or empty
};

// Entry i (from 1) of a list, empty text past its end.
ByteText ListEntry(const QList<ByteText>& list, int i);
// The temp folder's cover of issue i, or empty text when it cannot be
// loaded as a picture.
QString LoadableCover(const SelectionData& data, int i);
// Fills text on the left with filler up to width characters; longer text
// is left as it is.
ByteText PadLeft(const ByteText& text, int width, char filler);

class SelectNumberModel {
public:
    // Shortest number the newspaper's "Загрузка" accepts while typing.
    static constexpr int MinTypedNumberLength = 5;
    // Up to this length "Другой:" leaves "Загрузка" disabled.
    static constexpr int ShortNumberLength = 3;

    explicit SelectNumberModel(SelectionData data);

    // Opening: labels, the option routine once, the cover of the newest
    // issue (or the placeholder). Then EndsAtOnce tells an unattended run
    // that the newest issue is already there.
    void Open();
    bool EndsAtOnce() const { return data_.Unattended && label3Visible; }

    // A click on "Найденный номер" (false) or "Другой:" (true).
    void SelectOption(bool other);

    // Key filter of the number field: of the keys that type a character,
    // digits and "." pass; keys that type none (Enter, Esc, Delete, the
    // cursor keys, Ctrl+A/C/V) pass to the field and the window.
    static bool AcceptsKey(int key, const QString& text);
    // What of text the field can hold (a paste): the characters the key
    // filter lets a user type.
    static QString Typable(const QString& text);
    // After a key press (the text before the key) and after its release
    // (the text after it).
    void ApplyKeyRule(const QString& textSeen);
    // Every change of the number field.
    void TextChanged(const QString& text);

    // The list window's "Выбрать": the number, and for the magazine the
    // issue and its cover; for the newspaper the picked date.
    void TakePick(const QString& number, int16_t selectedIssue, const QString& cover,
                  const ByteText& dateOverride);

    SelectionChoice Load() const;

    const SelectionData& data() const { return data_; }
    bool IsNewspaper() const { return data_.CurrentSource == 1; }

    // What the window shows.
    bool option2Selected = false; // "Другой:"
    bool option1Enabled = true;
    bool text1Enabled = false;
    bool text1ReadOnly = false;
    bool command3Enabled = false; // "..."
    bool command1Enabled = true;  // "Загрузка"
    bool label3Visible = false; // "Такой номер уже есть в архиве программы"
    QString label2;
    QString text1;
    QString cover; // picture in the cover frame; empty: the placeholder

private:
    void checkInArchive(const QString& number);

    SelectionData data_;
    int16_t selectedIssue_ = 1;
    ByteText dateOverride_;
    QString pickedNumber_; // the number the picked date belongs to
};

// The choice an unattended run makes when nobody can see the selection
// window, as the window's automatic press does: "Найденный номер" and
// "Загрузка", or the end of the run when that issue is already archived.
SelectionOutcome SelectUnattended(const SelectionData& data, SelectionChoice& choice);

// The list window of the other issues.
class AllNumberModel {
public:
    // Widths of the row's number and date columns.
    static constexpr int NumberWidth = 9;
    static constexpr int DateWidth = 10;

    explicit AllNumberModel(const SelectionData& data);

    // Newspaper: every archive issue; magazine: every issue but the newest.
    const QStringList& Rows() const { return rows_; }

    // A click on row position (from 0): "Выбрать" usable, the row's cover.
    void Click(int position);

    struct Pick {
        QString number;             // for the number field
        int16_t selectedIssue;      // the issue lists' entry of the row
        QString cover;              // magazine: the row's cover, empty: placeholder
        ByteText IssueDateOverride; // newspaper: the row's date, ten characters
    };
    Pick Choose(int position) const;

    bool command1Enabled = false; // "Выбрать"
    int16_t SelectedIssue = 0;
    QString cover;

private:
    const SelectionData& data_;
    QStringList rows_;
};
