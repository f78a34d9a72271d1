#include "tests/support/scripted_messenger.h"

MessageAnswer ScriptedMessenger::Show(const QString& text, const QString& title, MessageIcon icon,
                                      MessageButtons buttons) {
    shown_.append({text, title, icon, buttons});
    if (!answers_.isEmpty())
        return answers_.takeFirst();
    return AsksYesNo(buttons) ? MessageAnswer::Yes : MessageAnswer::Ok;
}
