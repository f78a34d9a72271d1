#pragma once
// The program's Messenger: a modal QMessageBox with the Russian title, icon
// and buttons ("Да"/"Нет" for a question). Without a display nobody could
// answer a box: the message goes to standard error instead and a question
// is answered "Нет".

#include "settings/messenger.h"

#include <QPointer>
#include <QWidget>

class MessageBoxMessenger : public Messenger {
public:
    explicit MessageBoxMessenger(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    void setNoDisplay(bool noDisplay) { noDisplay_ = noDisplay; }

    MessageAnswer Show(const QString& text, const QString& title, MessageIcon icon,
                       MessageButtons buttons = MessageButtons::Ok) override;

private:
    QPointer<QWidget> parent_;
    bool noDisplay_ = false;
};
