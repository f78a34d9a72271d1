#include "ebook/xhtml_writer.h"

namespace {

// U+0000 to U+001F but tab and line ends, and U+007F to U+009F, which XML
// forbids or discourages and reading systems reject.
bool forbiddenControl(unsigned char lead, unsigned char next) {
    if (lead < 0x20)
        return lead != '\t' && lead != '\n' && lead != '\r';
    if (lead == 0x7F)
        return true;
    return lead == 0xC2 && next >= 0x80 && next <= 0x9F;
}

// U+FFFE and U+FFFF, which XML does not allow either.
bool nonCharacter(const QByteArray& s, qsizetype i) {
    return i + 2 < s.size() && uchar(s[i]) == 0xEF && uchar(s[i + 1]) == 0xBF &&
           (uchar(s[i + 2]) == 0xBE || uchar(s[i + 2]) == 0xBF);
}

} // namespace

QByteArray EscapeXml(const QByteArray& utf8, bool attribute) {
    QByteArray out;
    out.reserve(utf8.size() + utf8.size() / 8);
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        const unsigned char next = i + 1 < utf8.size() ? uchar(utf8[i + 1]) : 0;
        if (forbiddenControl(uchar(c), next)) {
            i += uchar(c) == 0xC2 ? 1 : 0;
            continue;
        }
        if (nonCharacter(utf8, i)) {
            i += 2;
            continue;
        }
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += attribute ? "&quot;" : "\"";
            break;
        default:
            out += c;
        }
    }
    return out;
}

void XhtmlWriter::start(const char* name, const XhtmlAttributes& attributes) {
    out_ += '<';
    out_ += name;
    for (const auto& [key, value] : attributes)
        out_ += ' ' + key + "=\"" + EscapeXml(value, true) + '"';
}

void XhtmlWriter::open(const char* name, const XhtmlAttributes& attributes) {
    start(name, attributes);
    out_ += '>';
}

void XhtmlWriter::empty(const char* name, const XhtmlAttributes& attributes) {
    start(name, attributes);
    out_ += "/>";
}

void XhtmlWriter::close(const char* name) {
    out_ += "</";
    out_ += name;
    out_ += '>';
}

void XhtmlWriter::text(const QByteArray& utf8) {
    out_ += EscapeXml(utf8);
}
