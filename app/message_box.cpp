#include "app/message_box.h"

#include <QMessageBox>
#include <QPushButton>
#include <cstdio>

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
    if (noDisplay_) {
        std::fprintf(stderr, "%s: %s\n", qUtf8Printable(title), qUtf8Printable(text));
        std::fflush(stderr);
        return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::NoButton, parent_.data());
    if (buttons == MessageButtons::YesNo) {
        QPushButton* yes = box.addButton(QString::fromUtf8("Да"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QString::fromUtf8("Нет"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
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
