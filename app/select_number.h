#pragma once
// "Выберите номер": the modal window between the main-page step and the
// table of contents, where the newest issue found is confirmed or another
// number is named (typed for the newspaper, picked from the list of other
// issues for both). It says whether the issue is already archived; in an
// unattended run it presses "Загрузка" itself through its Aload timer, or
// reports at once that there is nothing to do.

#include "app/select_number_model.h"

#include <QDialog>
#include <QTimer>
#include <functional>

class AllNumber;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class Select_Number : public QDialog {
    Q_OBJECT

public:
    // An unattended run presses "Загрузка" on the next turn of the event
    // loop after the window opens.
    static constexpr int AloadIntervalMs = 0;

    using Outcome = SelectionOutcome;

    explicit Select_Number(SelectionData data, QWidget* parent = nullptr);

    // Opens the window modally and waits for its decision. An unattended run
    // whose newest issue is archived returns EndProgram without showing it.
    Outcome Run();
    SelectionChoice Choice() const { return model_.Load(); }

    // Called with the list window before it opens modally (tests drive it).
    void setListWindowHook(std::function<void(AllNumber&)> hook) { listHook_ = std::move(hook); }

    const SelectNumberModel& model() const { return model_; }

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Image1;
    QGroupBox* Frame2;
    QLabel* Image2;
    QGroupBox* Frame1;
    QRadioButton* Option1; // "Найденный номер"
    QRadioButton* Option2; // "Другой:"
    QLineEdit* Text1;
    QPushButton* Command3; // "..."
    QPushButton* Command1; // "Загрузка"
    QPushButton* Command2; // "Отмена"
    QTimer Aload;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void showState();
    void optionClicked();
    void openList();
    void load();

    SelectNumberModel model_;
    Outcome outcome_ = Outcome::Cancel;
    std::function<void(AllNumber&)> listHook_;
    bool showing_ = false; // mirroring the model: ignore the widgets' own signals
};
