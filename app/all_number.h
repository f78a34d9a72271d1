#pragma once
// "Доступные номера": the list of the other issues the site offers, in a
// fixed-pitch font, one row per issue ("number | date"), with the cover of
// the clicked magazine issue. Modal on top of the selection window; hands
// the pick back through Picked().

#include "app/select_number_model.h"

#include <QDialog>
#include <optional>

class QGroupBox;
class QHBoxLayout;
class QLabel;
class QListWidget;
class QPushButton;

class AllNumber : public QDialog {
    Q_OBJECT

public:
    AllNumber(const SelectionData& data, QWidget* parent = nullptr);

    // The pick of "Выбрать", or nothing after "Отмена" or closing.
    const std::optional<AllNumberModel::Pick>& Picked() const { return picked_; }

    // The placeholder cover, for issues whose cover is missing.
    static QPixmap PlaceholderCover();
    // The cover in file (the placeholder when it cannot be read), 120
    // pixels of the window wide.
    static QPixmap CoverPicture(const QString& file);
    // The newspaper's picture beside the list and in the selection window.
    static QPixmap NewspaperPicture();

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QListWidget* List1;
    QPushButton* Command1; // "Выбрать"
    QPushButton* Command2; // "Отмена"
    QLabel* Picture1;
    QGroupBox* Frame2;
    QLabel* Image2;

private:
    void rowClicked(int position);
    void alignHeads(QHBoxLayout& heads);
    void choose();

    AllNumberModel model_;
    std::optional<AllNumberModel::Pick> picked_;
};
