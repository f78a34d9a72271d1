#pragma once
// A Messenger for tests: records every message and answers from a queue
// (Yes when the queue is empty and the message is a question, else Ok).

#include "settings/messenger.h"

#include <QList>
#include <QString>

struct ShownMessage {
    QString text, title;
    MessageIcon icon;
    MessageButtons buttons;
};

class ScriptedMessenger : public Messenger {
public:
    MessageAnswer Show(const QString& text, const QString& title, MessageIcon icon,
                       MessageButtons buttons = MessageButtons::Ok) override;

    void answer(MessageAnswer a) { answers_.append(a); }
    const QList<ShownMessage>& shown() const { return shown_; }
    void clear() { shown_.clear(); }

private:
    QList<MessageAnswer> answers_;
    QList<ShownMessage> shown_;
};
