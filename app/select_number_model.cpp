#include "app/select_number_model.h"

#include "archive/check_in_archive.h"
#include "processing/find_links.h"
#include "processing/picture_type.h"

ByteText ListEntry(const QList<ByteText>& list, int i) {
    return i >= 1 && i <= list.size() ? list.at(i - 1) : ByteText();
}

QString LoadableCover(const SelectionData& data, int i) {
    const ByteText name = ListEntry(data.CoverFiles, i);
    if (name.isEmpty())
        return {};
    const QString path = data.TempFolder + "/" + cp1251::toUnicode(name);
    return IsPictureFile(path) ? path : QString();
}

ByteText PadLeft(const ByteText& text, int width, char filler) {
    return text.size() >= width ? text : ByteText(width - text.size(), filler) + text;
}

SelectNumberModel::SelectNumberModel(SelectionData data)
    : data_(std::move(data)), selectedIssue_(data_.SelectedIssue) {}

void SelectNumberModel::Open() {
    label2 = cp1251::toUnicode(data_.LatestIssue);
    text1 = label2;
    label3Visible = false;
    if (data_.ByNumberOnly) {
        option2Selected = true;
        option1Enabled = false;
    }
    SelectOption(option2Selected);
    text1ReadOnly = !IsNewspaper(); // the magazine's number comes from the list only
    if (!IsNewspaper())
        cover = LoadableCover(data_, 1);
}

void SelectNumberModel::SelectOption(bool other) {
    option2Selected = other;
    if (other) {
        text1Enabled = true;
        command3Enabled = !data_.ByNumberOnly;
        if (text1.size() <= ShortNumberLength)
            command1Enabled = false;
        checkInArchive(text1);
        const QString picked = LoadableCover(data_, selectedIssue_);
        if (!picked.isEmpty())
            cover = picked;
    } else {
        text1Enabled = false;
        command3Enabled = false;
        command1Enabled = true;
        checkInArchive(cp1251::toUnicode(data_.LatestIssue));
        const QString newest = LoadableCover(data_, 1);
        if (!newest.isEmpty())
            cover = newest;
    }
}

QString SelectNumberModel::Typable(const QString& text) {
    QString kept;
    for (const QChar c : text)
        if (AcceptsKey(0, c) && c.isPrint())
            kept += c;
    return kept;
}

bool SelectNumberModel::AcceptsKey(int key, const QString& text) {
    if (key == Qt::Key_Backspace || text.isEmpty())
        return true; // Backspace, and keys that type nothing (cursor movement)
    if (text.size() != 1)
        return false;
    const QChar c = text.at(0);
    if (!c.isPrint())
        return true; // control characters: Enter, Esc, Delete, Ctrl+letter
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('.');
}

void SelectNumberModel::ApplyKeyRule(const QString& textSeen) {
    command1Enabled = !(textSeen.size() < MinTypedNumberLength && IsNewspaper());
}

void SelectNumberModel::TextChanged(const QString& text) {
    text1 = text;
    checkInArchive(text);
}

void SelectNumberModel::TakePick(const QString& number, int16_t selectedIssue,
                                 const QString& pickedCover, const ByteText& dateOverride) {
    if (IsNewspaper()) {
        dateOverride_ = dateOverride;
        pickedNumber_ = number;
    } else {
        selectedIssue_ = selectedIssue;
        cover = pickedCover;
    }
    TextChanged(number);
    // A number taken from the site's own list is a real issue, whatever its
    // length: the magazine's three-digit numbers could not be loaded else,
    // its field being locked against typing.
    if (!number.isEmpty())
        command1Enabled = true;
}

SelectionChoice SelectNumberModel::Load() const {
    SelectionChoice choice;
    choice.IssueNumber = option2Selected ? cp1251::fromUnicode(text1) : data_.LatestIssue;
    // "Другой:" without a pick from the list means the issue the field shows,
    // the newest, rather than no issue at all.
    choice.SelectedIssue = option2Selected && selectedIssue_ >= 1 ? selectedIssue_ : 1;
    choice.IssueDate = ListEntry(data_.DateList, choice.SelectedIssue);
    choice.IssueDateNumeric = DateToNumeric(choice.IssueDate);
    // A date picked in the list belongs to the number it was picked with, not
    // to a number typed over it afterwards.
    if (option2Selected && text1 == pickedNumber_)
        choice.IssueDateOverride = dateOverride_;
    return choice;
}

void SelectNumberModel::checkInArchive(const QString& number) {
    label3Visible = CheckInArchive(data_.ProgramFolder, cp1251::fromUnicode(number));
}

SelectionOutcome SelectUnattended(const SelectionData& data, SelectionChoice& choice) {
    SelectNumberModel model(data);
    model.Open();
    if (model.EndsAtOnce())
        return SelectionOutcome::EndProgram;
    model.SelectOption(false);
    choice = model.Load();
    return SelectionOutcome::Load;
}

AllNumberModel::AllNumberModel(const SelectionData& data) : data_(data) {
    auto row = [](const ByteText& number, const ByteText& date) {
        ByteText text = number;
        if (text.size() < NumberWidth)
            text += ByteText(NumberWidth - text.size(), ' ');
        return cp1251::toUnicode(text + "|   " + PadLeft(date, DateWidth, '0'));
    };
    if (data.CurrentSource == 1) {
        for (int i = 1; i <= data.ArchiveCount; ++i)
            rows_.append(row(ListEntry(data.ArchiveNumbers, i), ListEntry(data.ArchiveDates, i)));
    } else {
        for (int i = 2; i <= data.LinkCount; ++i)
            rows_.append(
                row(ListEntry(data.NumberList, i), DateToNumeric(ListEntry(data.DateList, i))));
    }
}

void AllNumberModel::Click(int position) {
    command1Enabled = true;
    SelectedIssue = int16_t(position + 2);
    cover = LoadableCover(data_, SelectedIssue);
}

AllNumberModel::Pick AllNumberModel::Choose(int position) const {
    Pick pick;
    if (data_.CurrentSource == 1) {
        pick.number = cp1251::toUnicode(ListEntry(data_.ArchiveNumbers, position + 1));
        pick.selectedIssue = int16_t(position + 2);
        pick.IssueDateOverride =
            PadLeft(ListEntry(data_.ArchiveDates, position + 1), DateWidth, '0');
    } else {
        pick.selectedIssue = int16_t(position + 2);
        pick.number = cp1251::toUnicode(ListEntry(data_.NumberList, pick.selectedIssue));
        pick.cover = LoadableCover(data_, pick.selectedIssue);
    }
    return pick;
}
