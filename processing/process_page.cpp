#include "processing/process_page.h"

#include "processing/cut_replace.h"
#include "processing/text_scan.h"

#include <QFileInfo>
#include <QStringList>

using textscan::Find;

namespace {

ByteText numbered(const char* key, const ByteText& suffix, int k) {
    return key + suffix + ByteText::number(k);
}

QString shown(const ByteText& value) {
    return cp1251::toUnicode(value);
}

const QString EditScript = QStringLiteral("Отредактируйте script.txt!");

} // namespace

ByteText PageProcessor::ProcessPage(const ByteText& page, int16_t CurrentSource,
                                    const QString& FileScript) {
    if (ScriptFailed_)
        return page;
    if (!script_.Open(FileScript)) {
        reportMissingScript(FileScript);
        return page;
    }
    const ByteText suffix = CurrentSource == 2 ? "CT" : "";
    const int16_t replaceRules = script_.Counter("Main", "RowsForReplace" + suffix);
    if (replaceRules == 0)
        return page;
    ByteText text = page;
    if (!replacePass(text, suffix, replaceRules))
        return page;
    const ByteText replaced = text;
    const int16_t cutRules = script_.Counter("Main", "RowsForCut" + suffix);
    if (cutRules == 0)
        return text;
    if (!cutPass(text, suffix, cutRules))
        return replaced;
    return text;
}

void PageProcessor::reportMissingScript(const QString& FileScript) {
    if (missingScriptReported_ || shippedScript_.isEmpty() || !QFileInfo(shippedScript_).isFile())
        return;
    missingScriptReported_ = true;
    messenger_.Show(QStringLiteral("Не найден файл сценария обработки страниц:\r\n") + FileScript +
                        QStringLiteral("\r\n\r\nСтраницы сохраняются без обработки. Укажите в "
                                       "настройках файл сценария, например ") +
                        shippedScript_,
                    QStringLiteral("Внимание!"), MessageIcon::Warning);
}

bool PageProcessor::replacePass(ByteText& text, const ByteText& suffix, int16_t rules) {
    int tally = 0;
    for (int k = 1; k <= rules; ++k) {
        const ByteText find = script_.Text("Replace", numbered("FindString", suffix, k));
        ByteText replacement = script_.Text("Replace", numbered("ReplaceString", suffix, k));
        replacement.replace("+CrLf", "\r\n");
        // Each rule runs until its text no longer occurs. No occurrence can
        // start before the last one less the find length, so the search goes
        // on from there; the outcome is that of searching from the start.
        for (qsizetype at = Find(text, find); at >= 0;) {
            if (++tally > MaxReplacementsPerPage) {
                fail({QStringLiteral("Обнаружен бесконечный цикл в модуле замены строк!"),
                      "Строка поиска: " + shown(find), "Строка замены: " + shown(replacement),
                      QString(), EditScript});
                return false;
            }
            text.replace(at, find.size(), replacement);
            at = Find(text, find, find.isEmpty() ? 0 : qMax<qsizetype>(0, at - find.size() + 1));
        }
    }
    return true;
}

bool PageProcessor::cutPass(ByteText& text, const ByteText& suffix, int16_t rules) {
    for (int k = 1; k <= rules; ++k) {
        const ByteText start = script_.Text("Cut", numbered("FindStart", suffix, k));
        const ByteText end = script_.Text("Cut", numbered("FindEnd", suffix, k));
        int tally = 0;
        // Text before the last cut less the longer marker was searched and
        // holds neither marker, so the searches go on from there; the outcome
        // is that of searching from the start.
        const qsizetype overlap = qMax(start.size(), end.size()) - 1;
        for (qsizetype from = 0;;) {
            const qsizetype s = Find(text, start, from), e = Find(text, end, from);
            if (s < 0 || e < 0)
                break;
            if (e < s) {
                fail({QStringLiteral("Обнаружена ошибка при работе модуля удаления строк!"),
                      "Строка окончания поиска: " + shown(end),
                      "найдена раньше строки начала поиска: " + shown(start), QString(),
                      EditScript});
                return false;
            }
            if (++tally > MaxCutsPerRule) {
                fail({QStringLiteral("Обнаружен бесконечный цикл в модуле удаления строк!"),
                      "Строка начала поиска: " + shown(start),
                      "Строка окончания поиска: " + shown(end), QString(), EditScript});
                return false;
            }
            text.remove(s, e + end.size() - s);
            from = start.isEmpty() || end.isEmpty() ? 0 : qMax<qsizetype>(0, s - overlap);
        }
    }
    return true;
}

void PageProcessor::fail(const QStringList& lines) {
    ScriptFailed_ = true;
    messenger_.Show(lines.join("\r\n"), QStringLiteral("Ошибка"), MessageIcon::Error);
}
