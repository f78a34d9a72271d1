#include "htmlview/attributes.h"

#include "htmlview/numeric.h"

namespace htmlview {

int mintExtractTagAttributes(const ByteText& strTag, QList<ByteText>& names,
                             QList<ByteText>& values) {
    names.clear();
    values.clear();
    qsizetype pos = strTag.indexOf(' ');
    if (pos < 0)
        return 0;
    const qsizetype length = strTag.size();
    int count = 0;
    while (pos < length) {
        const qsizetype eq = strTag.indexOf('=', pos);
        if (eq < 0)
            break;
        ByteText name = UpperCase(TrimSpaces(strTag.mid(pos, eq - pos)));
        name.replace('\t', "");
        qsizetype next = eq + 1;
        while (next < length && strTag[next] == ' ')
            ++next;
        const char delimiter =
            next < length && (strTag[next] == '\'' || strTag[next] == '"') ? strTag[next] : ' ';
        qsizetype end = strTag.indexOf(delimiter, next + 1);
        if (end < 0)
            end = length - 1; // the closing ">"
        ByteText value = TrimSpaces(strTag.mid(next, end - next));
        if (!value.isEmpty() && value.front() == delimiter)
            value.remove(0, 1);
        names.append(name);
        values.append(value);
        ++count;
        pos = end + 1;
    }
    return count;
}

} // namespace htmlview
