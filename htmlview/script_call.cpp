#include "htmlview/script_call.h"

#include <QMetaObject>
#include <QObject>

namespace htmlview {

namespace {

bool isQuote(QChar c) {
    return c == QLatin1Char('\'') || c == QLatin1Char('"');
}

// The accumulator starts with a quote that has no partner yet.
bool insideOpenQuote(const QString& accumulator) {
    const QString t = accumulator.trimmed();
    if (t.isEmpty() || !isQuote(t.front()))
        return false;
    return t.indexOf(t.front(), 1) < 0;
}

QString unquoted(const QString& argument) {
    QString t = argument.trimmed();
    if (t.size() >= 2 && isQuote(t.front()) && t.back() == t.front())
        t = t.mid(1, t.size() - 2);
    return t;
}

} // namespace

bool IsScriptHref(const QString& href) {
    return href.left(3).toUpper() == QLatin1String("VB:");
}

ScriptCall ParseScriptCall(const QString& text) {
    ScriptCall call;
    bool nameKnown = false;
    QString accumulator;
    auto endArgument = [&]() {
        const QString argument = unquoted(accumulator);
        if (!argument.isEmpty())
            call.arguments.append(argument);
        accumulator.clear();
    };
    for (QChar c : text) {
        if (!nameKnown) {
            if (c == QLatin1Char('(') || c == QLatin1Char(' ')) {
                call.name = accumulator.trimmed();
                nameKnown = !call.name.isEmpty();
                accumulator.clear();
            } else {
                accumulator.append(c);
            }
        } else if ((c == QLatin1Char(')') || c == QLatin1Char(',')) &&
                   !insideOpenQuote(accumulator)) {
            endArgument();
        } else {
            accumulator.append(c);
        }
    }
    if (!accumulator.trimmed().isEmpty()) {
        if (nameKnown)
            endArgument();
        else
            call.name = accumulator.trimmed();
    }
    return call;
}

bool InvokeScriptCall(QObject* target, const ScriptCall& call) {
    if (!target || call.name.isEmpty())
        return false;
    const QByteArray name = call.name.toLatin1();
    const QStringList& a = call.arguments;
    const char* method = name.constData();
    switch (a.size() <= kMaxScriptArguments ? a.size() : 0) {
    case 1:
        return QMetaObject::invokeMethod(target, method, Q_ARG(QString, a[0]));
    case 2:
        return QMetaObject::invokeMethod(target, method, Q_ARG(QString, a[0]),
                                         Q_ARG(QString, a[1]));
    case 3:
        return QMetaObject::invokeMethod(target, method, Q_ARG(QString, a[0]), Q_ARG(QString, a[1]),
                                         Q_ARG(QString, a[2]));
    case 4:
        return QMetaObject::invokeMethod(target, method, Q_ARG(QString, a[0]), Q_ARG(QString, a[1]),
                                         Q_ARG(QString, a[2]), Q_ARG(QString, a[3]));
    case 5:
        return QMetaObject::invokeMethod(target, method, Q_ARG(QString, a[0]), Q_ARG(QString, a[1]),
                                         Q_ARG(QString, a[2]), Q_ARG(QString, a[3]),
                                         Q_ARG(QString, a[4]));
    case 6:
        return QMetaObject::invokeMethod(target, method, Q_ARG(QString, a[0]), Q_ARG(QString, a[1]),
                                         Q_ARG(QString, a[2]), Q_ARG(QString, a[3]),
                                         Q_ARG(QString, a[4]), Q_ARG(QString, a[5]));
    case 7:
        return QMetaObject::invokeMethod(
            target, method, Q_ARG(QString, a[0]), Q_ARG(QString, a[1]), Q_ARG(QString, a[2]),
            Q_ARG(QString, a[3]), Q_ARG(QString, a[4]), Q_ARG(QString, a[5]), Q_ARG(QString, a[6]));
    case 8:
        return QMetaObject::invokeMethod(target, method, Q_ARG(QString, a[0]), Q_ARG(QString, a[1]),
                                         Q_ARG(QString, a[2]), Q_ARG(QString, a[3]),
                                         Q_ARG(QString, a[4]), Q_ARG(QString, a[5]),
                                         Q_ARG(QString, a[6]), Q_ARG(QString, a[7]));
    default:
        return QMetaObject::invokeMethod(target, method);
    }
}

} // namespace htmlview
