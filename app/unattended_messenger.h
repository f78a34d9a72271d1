#pragma once
// The messenger of an unattended run (-kp, -kt): nobody is at the screen, so
// no box is shown. Every message becomes one line on standard error,
// "norvel2: <title>: <text on one line>", and is answered the way a person
// who wants the issue would answer it: information and warnings are
// acknowledged; a Yes/No question gets the answer that needs nobody later
// (the download by number: No; a hang-up question: Yes, since one is asked
// only when KillConnect is on; the stop question: Yes); every other question
// gets No.

#include "settings/messenger.h"

#include <QString>
#include <QStringList>
#include <functional>

// The text with its line breaks (and the blanks around them) and its tabs
// turned into single blanks, and every other control character removed: the
// form in which any text, a server's included, reaches a terminal or the log.
QString OneLine(const QString& text);

// Writes "norvel2: <title>: <text on one line>" and a line end to standard
// error. Other parts of an unattended run use it for their own notices.
void WriteUnattendedLine(const QString& title, const QString& text);

class UnattendedMessenger : public Messenger {
public:
    // hangUpAllowed tells whether a hang-up question is answered Yes (the
    // KillConnect setting, read when the question comes).
    explicit UnattendedMessenger(std::function<bool()> hangUpAllowed = {});

    MessageAnswer Show(const QString& text, const QString& title, MessageIcon icon,
                       MessageButtons buttons = MessageButtons::Ok) override;

    // The answer a question gets, without writing anything.
    MessageAnswer AnswerFor(const QString& text) const;

    // Every message of the run so far, as "<title>: <text on one line>".
    const QStringList& Shown() const { return shown_; }

private:
    std::function<bool()> hangUpAllowed_;
    QStringList shown_;
};
