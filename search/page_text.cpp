#include "search/page_text.h"

#include <QRegularExpression>

namespace search {
namespace {

// Parts of a page that hold no text for a reader, and the links to the
// neighbouring pages that the shipped processing script puts on every page.
const QRegularExpression& hiddenParts() {
    static const QRegularExpression pattern(
        QStringLiteral("<head[\\s>].*?</head>|<script[\\s>].*?</script>|<style[\\s>].*?</style>|"
                       "<!--.*?-->|<table class=\"nav\".*?</table>"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    return pattern;
}

QString resolveEntities(const QString& text) {
    static const QRegularExpression entity(
        QStringLiteral("&(#[0-9]{1,7}|#x[0-9a-fA-F]{1,6}|[a-z]+);"));
    static const QHash<QString, QString> named = {
        {"nbsp", " "},  {"lt", "<"},    {"gt", ">"},    {"amp", "&"},   {"quot", "\""},
        {"laquo", "«"}, {"raquo", "»"}, {"mdash", "—"}, {"ndash", "–"}, {"hellip", "…"}};
    QString out;
    qsizetype last = 0;
    for (auto it = entity.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const QString name = match.captured(1);
        QString replacement = named.value(name, match.captured(0));
        if (name.startsWith('#')) {
            bool ok = false;
            const uint code = name.startsWith(QLatin1String("#x")) ? name.mid(2).toUInt(&ok, 16)
                                                                   : name.mid(1).toUInt(&ok);
            const char32_t character = char32_t(code);
            replacement = ok && code <= 0x10FFFF && QChar::isPrint(character)
                              ? QString::fromUcs4(&character, 1)
                              : QStringLiteral(" ");
        }
        out += QStringView(text).mid(last, match.capturedStart() - last);
        out += replacement;
        last = match.capturedEnd();
    }
    out += QStringView(text).mid(last);
    return out;
}

} // namespace

QString FoldYo(QString text) {
    text.replace(QChar(0x0451), QChar(0x0435));
    text.replace(QChar(0x0401), QChar(0x0415));
    return text;
}

QString PlainText(const ByteText& html) {
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    QString text = cp1251::toUnicode(html);
    text.remove(hiddenParts());
    text.replace(tag, QStringLiteral(" "));
    return resolveEntities(text).simplified();
}

QString PageText(const ByteText& page) {
    return FoldYo(PlainText(page));
}

} // namespace search
