#pragma once
// The program's Messenger: a modal QMessageBox with the Russian title, icon
// and buttons ("Да"/"Нет" for a question).

#include "settings/messenger.h"

#include <QPointer>
#include <QWidget>

class MessageBoxMessenger : public Messenger {
public:
    explicit MessageBoxMessenger(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    MessageAnswer Show(const QString& text, const QString& title, MessageIcon icon,
                       MessageButtons buttons = MessageButtons::Ok) override;

private:
    QPointer<QWidget> parent_;
};
