#pragma once
// The one way logic reaches the user with a modal message. The main program
// shows a QMessageBox; tests answer with scripted replies and record what was
// asked, so every message of the system can be checked without a display.

#include <QString>

enum class MessageIcon { None, Information, Warning, Error, Question };
// YesNoDefaultNo: a question whose Yes cannot be undone; Enter answers No.
enum class MessageButtons { Ok, YesNo, YesNoDefaultNo };
inline bool AsksYesNo(MessageButtons buttons) {
    return buttons != MessageButtons::Ok;
}
enum class MessageAnswer { Ok, Yes, No };

class Messenger {
public:
    virtual ~Messenger() = default;
    virtual MessageAnswer Show(const QString& text, const QString& title, MessageIcon icon,
                               MessageButtons buttons = MessageButtons::Ok) = 0;
};
