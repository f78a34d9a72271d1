#include "app/run_log.h"

#include "app/unattended_messenger.h"
#include "settings/whole_file.h"

#include <QDateTime>
#include <QFile>

QString RunLogPath(const QString& programFolder) {
    return programFolder + "/norvel.log";
}

QString RunLogFields(QStringList fields) {
    for (QString& field : fields)
        field = OneLine(field);
    return fields.join(QLatin1Char('\t'));
}

bool AppendRunLog(const QString& programFolder, const QString& text, int keep) {
    const QString path = RunLogPath(programFolder);
    const QByteArray line =
        (QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + "\t" +
         RunLogFields(text.split(QLatin1Char('\t'))) + "\n")
            .toUtf8();
    const QByteArray old = ReadWholeFile(path).value_or(QByteArray());
    if (old.count('\n') + 1 <= keep) {
        // The usual case: one write at the end, so a line of another copy
        // written meanwhile is not lost.
        QFile log(path);
        return log.open(QIODevice::WriteOnly | QIODevice::Append) &&
               log.write(line) == line.size() && log.flush();
    }
    QByteArray all = old;
    if (!all.isEmpty() && !all.endsWith('\n'))
        all += '\n';
    all += line;
    qsizetype from = all.size() - 1; // the final line end
    for (int lines = 0; lines < keep && from > 0; ++lines)
        from = all.lastIndexOf('\n', from - 1);
    return WriteWholeFile(path, all.mid(from + 1));
}
