#pragma once
// Links of the form "VB:Method('a', 'b')" call a method of the hosting window.

#include <QString>
#include <QStringList>

class QObject;

namespace htmlview {

struct ScriptCall {
    QString name;
    QStringList arguments;
};

inline constexpr int kMaxScriptArguments = 8;

// True when the first three characters, upper-cased, are "VB:".
bool IsScriptHref(const QString& href);

// Reads the text after "VB:": the method name ends at "(" or a space;
// arguments end at ")" or "," outside an open quote, are trimmed, lose one
// pair of enclosing quotes and are kept when not empty.
ScriptCall ParseScriptCall(const QString& text);

// Calls the named method of target (a slot or an invokable method taking
// QString arguments) with the arguments when there are 1 to 8 of them, and
// without arguments otherwise. A failing call is ignored; the result tells
// whether the call was made.
bool InvokeScriptCall(QObject* target, const ScriptCall& call);

} // namespace htmlview
