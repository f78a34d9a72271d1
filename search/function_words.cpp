#include "search/function_words.h"

#include <QRegularExpression>
#include <QStringList>

namespace search {
namespace {

// Lower case, «ё» written «е», as the page text and the query are folded.
const QStringList& words() {
    static const QStringList list = {
        "а",     "без", "будет", "бы",    "был",  "была", "были",  "было", "быть",   "в",
        "ведь",  "во",  "вот",   "все",   "вы",   "где",  "да",    "даже", "для",    "до",
        "его",   "ее",  "ей",    "ему",   "если", "еще",  "же",    "за",   "и",      "из",
        "или",   "им",  "их",    "к",     "как",  "ко",   "когда", "ли",   "лишь",   "между",
        "меня",  "мне", "мы",    "на",    "над",  "нас",  "не",    "него", "нее",    "ни",
        "ним",   "них", "но",    "о",     "об",   "обо",  "он",    "она",  "они",    "от",
        "перед", "по",  "под",   "после", "при",  "про",  "с",     "со",   "та",     "так",
        "также", "там", "те",    "тем",   "то",   "того", "тоже",  "той",  "только", "том",
        "тот",   "тут", "ты",    "у",     "уже",  "чем",  "через", "что",  "чтобы",  "эта",
        "эти",   "это", "этого", "этой",  "этом", "этот", "эту",   "я",
    };
    return list;
}

} // namespace

const Xapian::Stopper& FunctionWords() {
    // Xapian's stoppers cannot be copied: filled where it lives.
    static Xapian::SimpleStopper stopper;
    static const bool filled = [] {
        for (const QString& word : words())
            stopper.add(word.toStdString());
        return true;
    }();
    Q_UNUSED(filled);
    return stopper;
}

QString WithoutFunctionWords(const QString& query) {
    // Whole words only (not the «в» of «выборы»). A function word in a
    // hyphened word goes with its hyphen («что-то», «по-новому»), as the
    // index splits such words; one standing alone goes with the sign before
    // it. Quotes and the other words stay as they were.
    static const QString any = words().join('|');
    const auto pattern = [](const QString& text) {
        return QRegularExpression(text, QRegularExpression::UseUnicodePropertiesOption);
    };
    static const QRegularExpression trailing =
        pattern(QStringLiteral("(?<=\\w)-(?:%1)(?![\\w-])").arg(any));
    static const QRegularExpression leading =
        pattern(QStringLiteral("(?<![\\w-])([-+]?)(?:%1)-(?=\\w)").arg(any));
    static const QRegularExpression alone =
        pattern(QStringLiteral("(?<![\\w-])[-+]?(?:%1)(?![\\w-])").arg(any));
    QString meant = query;
    meant.replace(trailing, QString());
    meant.replace(leading, QStringLiteral("\\1"));
    meant.replace(alone, QString());
    return meant;
}

} // namespace search
