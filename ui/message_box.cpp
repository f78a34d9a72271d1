#include "ui/message_box.h"

#include <QMessageBox>
#include <QPushButton>

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

MessageAnswer MessageBoxMessenger::Show(const QString& text, const QString& title, MessageIcon icon,
                                        MessageButtons buttons) {
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::NoButton, parent_.data());
    if (AsksYesNo(buttons)) {
        QPushButton* yes = box.addButton(QString::fromUtf8("Да"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QString::fromUtf8("Нет"), QMessageBox::NoRole);
        box.setDefaultButton(buttons == MessageButtons::YesNoDefaultNo ? no : yes);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes ? MessageAnswer::Yes : MessageAnswer::No;
    }
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
    return MessageAnswer::Ok;
}
