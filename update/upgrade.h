#pragma once
// The window Upgrade ("Обновление"): a newer version was found before a
// download. It shows the version, the file size, a notice and, on "Что
// нового?", the what's-new text in the preview control; its link copies the
// release's direct address to the clipboard. "Обновить" and "Отмена" close
// it with the decision; closing it otherwise is "Отмена". A release the
// publisher did not sign cannot be installed from here: the window says so,
// "Обновить" is off, and the link is the way left.

#include "update/update_check.h"

#include <QDialog>
#include <QTimer>

class QLabel;
class QPushButton;
namespace htmlview {
class HTMLLabel;
}

class Upgrade : public QDialog {
    Q_OBJECT

public:
    // How long "Cкопирована в буфер обмена" stays before the link is back.
    static constexpr int Timer1IntervalMs = 3000;

    explicit Upgrade(const UpdateInfo& info, QWidget* parent = nullptr);

    // Shows the window modally and returns the decision.
    UpdateDecision Run();
    // The notice says the release is not the publisher's; "Обновить" is off.
    // Done at once when version.info carries no signature.
    void ShowUnsigned();

    // The link's captions: the link, and its text after a click (the first
    // letter of the second is a Latin C).
    static QString LinkCaption();
    static QString CopiedCaption();

    QLabel* Label1;            // "Версия: ..."
    QLabel* Label2;            // "Размер файла: ... кб"
    QLabel* Label3;            // the notice
    QLabel* Label4;            // "Прямая ссылка (копировать)"
    QPushButton* Command1;     // "Обновить"
    QPushButton* Command2;     // "Отмена"
    QPushButton* Command3;     // "Что нового?" / "Назад"
    htmlview::HTMLLabel* HTML; // the what's-new preview, hidden at start
    QTimer Timer1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Command3Click();
    void Label4Click();
    void Timer1Tick();

    UpdateInfo info_;
    UpdateDecision decision_ = UpdateDecision::Cancel;
};
