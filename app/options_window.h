#pragma once
// The settings window "Настройки": five pages chosen by the row of option
// buttons Option[0..4], each a frame of controls named as the settings they
// edit are kept (options_controller.h), and "Сохранить", "Отмена", "По
// умолчанию" under them. It holds no rules of its own: it mirrors an
// OptionsController and forwards what the user does.

#include "app/options_controller.h"

#include <QDialog>
#include <array>
#include <functional>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QSpinBox;
class QStackedWidget;
class Download_Control;

class Options : public QDialog {
    Q_OBJECT

public:
    explicit Options(OptionsController& controller, QWidget* parent = nullptr);

    // The page buttons and their frames.
    std::array<QRadioButton*, OptionsController::PageCount> Option{};
    std::array<QGroupBox*, OptionsController::PageCount> Frame{};
    QStackedWidget* Pages;

    // "Общие".
    QRadioButton* Option5; // "Абсолютный номер выпуска"
    QRadioButton* Option6; // "Дата в формате ДД.ММ.ГГГГ"
    QRadioButton* Option7; // "Дата в формате ГГГГ.ММ.ДД"
    QCheckBox* Check8;
    QCheckBox* Check7;
    QCheckBox* Check10;
    QLineEdit* BrowserText;      // Browser; empty: the desktop's browser
    QPushButton* BrowserChooser; // "..." beside it
    // "Сеть".
    QCheckBox* Check4;
    QCheckBox* Check5;
    QFrame* ProxyFrame;
    QLabel* AddressLabel; // "Адрес:"
    QLineEdit* Text5;
    QLabel* PortLabel; // "Порт:"
    QLineEdit* Text6;
    QCheckBox* Check6;
    QFrame* AuthFrame;
    QLabel* NameLabel; // "Имя:"
    QLineEdit* Text7;
    QLabel* PasswordLabel; // "Пароль:"
    QLineEdit* Text8;
    QLabel* Base64Label; // "BASE64"
    // "Обработка".
    QLineEdit* Text3;
    QPushButton* Command4; // "..."
    QScrollBar* FontScroll;
    QLineEdit* Text4;
    QPushButton* Command10; // "Применить к всему архиву"
    // "Кэширование".
    QCheckBox* Check1;
    QLabel* CasheSizeLabel; // "Размер кэша:"
    QScrollBar* CasheScroll;
    QLineEdit* Text1;
    QLabel* CasheFilesLabel; // "файлов" after Text1
    QLineEdit* Text2;
    QPushButton* Command3; // "Очистить файловый кэш"
    QCheckBox* Check2;
    QCheckBox* Check3;
    QCheckBox* Check11;
    // "Разное".
    QCheckBox* Check9;
    QFrame* CopyFrame;
    QLineEdit* Text9;
    QPushButton* Command5; // "..."
    QCheckBox* Check14;
    QCheckBox* Check12;
    QPushButton* Command9; // "Скопировать весь архив"
    QCheckBox* Check13;
    QPushButton* Command7;  // "Создать сейчас"
    QPushButton* Command8;  // "Просмотр"
    QGroupBox* ReaderFrame; // "Для читалки"
    QCheckBox* MakeEpubCheck;
    QLabel* ConnectionsLabel;
    QSpinBox* ConnectionsSpin; // Connections
    QSpinBox* KeepIssuesSpin;
    QSpinBox* KeepDaysSpin;
    // Under the pages.
    QPushButton* Command1; // "Сохранить"
    QPushButton* Command2; // "Отмена"
    QPushButton* Command6; // "По умолчанию"

private:
    QWidget* generalPage();
    QWidget* networkPage();
    QWidget* processingPage();
    QWidget* cashePage();
    QWidget* copyPage();
    QCheckBox* check(const char* caption, bool OptionsForm::*field);
    QLineEdit* text(QString OptionsForm::*field);
    QScrollBar* scroll(int min, int max, int step, int16_t OptionsForm::*field, QLineEdit* shown);
    QSpinBox* spin(int min, int max, const char* zeroText, int16_t OptionsForm::*field);
    QGroupBox* readerFrame();
    QPushButton* action(const char* caption, void (OptionsController::*click)());
    QPushButton* chooserButton(void (OptionsController::*click)());
    void connectController();
    void refresh();
    void refreshEnabled();
    void save();

    OptionsController& controller_;
    QButtonGroup* folderFormat_;
    // How each bound control shows its field of the form.
    std::vector<std::function<void()>> showForm_;
    bool showing_ = false; // mirroring the controller: ignore the widgets' own signals
};

// Opens the settings window modally over parent on the program's record and
// download control. Choosers left unset in hooks are OpenFolder and
// OpenFile over the window.
void ShowOptions(AppState& app, Download_Control& DC, Messenger& messenger, OptionsHooks hooks,
                 QWidget* parent);
