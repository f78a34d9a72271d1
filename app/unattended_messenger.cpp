#include "app/unattended_messenger.h"

#include <QRegularExpression>
#include <cstdio>

QString OneLine(const QString& text) {
    static const QRegularExpression lineBreaks(QStringLiteral("\\s*[\\r\\n]+\\s*"));
    QString line = text;
    line.replace(lineBreaks, QStringLiteral(" "));
    line.replace(QLatin1Char('\t'), QLatin1Char(' '));
    // What is left of the control characters would act on a terminal (ESC
    // starts its sequences) or cut a log line (NUL): none is shown.
    line.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
    return line.trimmed();
}

void WriteUnattendedLine(const QString& title, const QString& text) {
    const QByteArray line = ("norvel2: " + title + ": " + OneLine(text) + "\n").toUtf8();
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
}

UnattendedMessenger::UnattendedMessenger(std::function<bool()> hangUpAllowed)
    : hangUpAllowed_(std::move(hangUpAllowed)) {}

MessageAnswer UnattendedMessenger::AnswerFor(const QString& text) const {
    const QString question = OneLine(text);
    if (question.endsWith(QString::fromUtf8("Разорвать соединение?")))
        return hangUpAllowed_ && hangUpAllowed_() ? MessageAnswer::Yes : MessageAnswer::No;
    // Asked when the window is closed during a download: whoever closes the
    // window of an unattended run wants it to end.
    if (question == QString::fromUtf8("Вы уверены, что хотите остановить процесс загрузки?"))
        return MessageAnswer::Yes;
    return MessageAnswer::No;
}

MessageAnswer UnattendedMessenger::Show(const QString& text, const QString& title,
                                        MessageIcon /*icon*/, MessageButtons buttons) {
    shown_.append(title + ": " + OneLine(text));
    WriteUnattendedLine(title, text);
    return AsksYesNo(buttons) ? AnswerFor(text) : MessageAnswer::Ok;
}
