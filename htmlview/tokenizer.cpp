#include "htmlview/tokenizer.h"

#include "htmlview/numeric.h"

namespace htmlview {

namespace {

void appendToken(HtmlElements& elements, const ByteText& text) {
    HtmlElement element;
    element.Text = text;
    element.ElementIndex = int(elements.size());
    elements.append(std::move(element));
}

bool onlySpaces(const char* begin, qsizetype length) {
    for (qsizetype i = 0; i < length; ++i) {
        if (begin[i] != ' ')
            return false;
    }
    return true;
}

} // namespace

HtmlElements ParseTokens(const ByteText& text) {
    HtmlElements elements;
    elements.reserve(text.count('<') * 2);
    const qsizetype length = text.size();
    qsizetype start = text.indexOf('<');
    // Every turn either consumes a tag or ends the loop, so no input stalls it.
    while (start >= 0 && start < length) {
        qsizetype end;
        if (QByteArrayView(text).sliced(start).startsWith("<!--")) {
            end = text.indexOf("-->", start);
            if (end >= 0)
                end += 2;
        } else {
            end = text.indexOf('>', start);
        }
        if (end < 0)
            break;
        appendToken(elements, text.mid(start, end - start + 1));
        start = end + 1;
        const qsizetype next = text.indexOf('<', start);
        if (next < 0)
            break;
        if (next > start && !onlySpaces(text.constData() + start, next - start))
            appendToken(elements, text.mid(start, next - start));
        start = next;
    }
    return elements;
}

bool IsTagToken(const ByteText& token) {
    return !token.isEmpty() && token.front() == '<' && token.back() == '>';
}

ByteText mstrTagID(const ByteText& strTag) {
    ByteText name;
    const qsizetype space = strTag.indexOf(' ');
    if (space < 0) {
        const ByteText trimmed = TrimSpaces(strTag);
        name = trimmed.size() >= 2 ? trimmed.mid(1, trimmed.size() - 2) : ByteText();
    } else {
        name = strTag.mid(1, space); // up to and including the first space
    }
    return UpperCase(TrimSpaces(name));
}

} // namespace htmlview
