#pragma once
// The archive window "Архив": the list of downloaded issues, the panel
// "Информация" of the selected one, its preview in the HTML control, the
// preview button, the option "Открывать в выбранном браузере", "Книга EPUB",
// "Открыть" and "Отмена", and the search field above the list, whose hits
// replace the list while it holds a query. The rules live in ArchiveBrowser;
// the window mirrors them.

#include "archive/archive_browser.h"

#include <QDialog>
#include <QIcon>

class Messenger;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;
namespace htmlview {
class HTMLLabel;
}

class Arhiv : public QDialog {
    Q_OBJECT

public:
    // settings is the program's record: the browser option changes it.
    Arhiv(const QString& programFolder, Settings& settings, Messenger& messenger,
          QWidget* parent = nullptr);

    const ArchiveBrowser& browser() const { return browser_; }

    QLineEdit* SearchField;          // "Поиск по архиву": Enter searches
    QListWidget* List1;              // the issues (or the hits), in a fixed-pitch font
    QGroupBox* Frame1;               // "Информация"
    QLabel* NumberValue;             // "Номер:"
    QLabel* DateValue;               // "Дата:"
    QLabel* BuiltValue;              // "Загружен:"
    QLabel* PagesValue;              // "Страниц в номере:"
    QLabel* PicturesValue;           // "С изображениями:"
    htmlview::HTMLLabel* HTMLLabel1; // the preview
    QToolButton* Command3;           // the preview button
    QCheckBox* Check1;               // "Открывать в выбранном браузере"
    QPushButton* Command4;           // "Книга EPUB": the selected issue's e-book
    QPushButton* Command1;           // "Открыть"
    QPushButton* Command2;           // "Отмена"

    // The preview button's pictures: preview off, preview on.
    QIcon PreviewOffPicture, PreviewOnPicture;

    // Keeps the window's place for its next opening, however it closes.
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    QWidget* buildPanel();
    void select(const QString& issue);
    void search();
    void fillList();
    void showSelection();
    void showInfo();
    void togglePreview();
    void showPreviewState();
    void browserOptionChanged(bool ticked);
    void open();
    void makeBook();
    void loadImage(const QString& source, QImage& image) const;

    ArchiveBrowser browser_;
    Messenger& messenger_;
    QString optionsFile_;
};
