#include "settings/ini.h"

#include <QFile>
#include <QSaveFile>
#include <cmath>
#include <sys/stat.h>

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

ByteText trimmed(const ByteText& s) {
    qsizetype b = 0, e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return s.mid(b, e - b);
}

// Case folding of Windows-1251 letters: Latin, Cyrillic А-Я and Ё.
unsigned char fold(unsigned char c) {
    if (c >= 'A' && c <= 'Z')
        return c + 32;
    if (c >= 0xC0 && c <= 0xDF)
        return c + 32;
    if (c == 0xA8)
        return 0xB8;
    return c;
}

bool sameName(const ByteText& a, const ByteText& b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (fold(uchar(a[i])) != fold(uchar(b[i])))
            return false;
    }
    return true;
}

ByteText unquoted(const ByteText& value) {
    if (value.size() >= 2) {
        char q = value.front();
        if ((q == '"' || q == '\'') && value.back() == q)
            return value.mid(1, value.size() - 2);
    }
    return value;
}

} // namespace

void INI::setFileName(const QString& FName) {
    fileName_ = FName;
    parsed_ = false;
}

INI::Stamp INI::stampOf(const QString& path) {
    struct stat st {};
    Stamp s;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return s;
    s.exists = true;
    s.size = st.st_size;
    s.mtimeNs = int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    s.inode = int64_t(st.st_ino);
    return s;
}

void INI::refresh() {
    Stamp now = stampOf(fileName_);
    if (parsed_ && now == stamp_)
        return;
    ByteText content;
    if (now.exists) {
        QFile f(fileName_);
        if (f.open(QIODevice::ReadOnly))
            content = f.readAll();
    }
    parse(content);
    stamp_ = now;
    parsed_ = true;
}

void INI::parse(const ByteText& content) {
    lines_.clear();
    qsizetype pos = 0;
    const qsizetype n = content.size();
    while (pos < n) {
        qsizetype end = pos;
        while (end < n && content[end] != '\r' && content[end] != '\n')
            ++end;
        Line line;
        line.text = content.mid(pos, end - pos);
        qsizetype next = end;
        if (next < n && content[next] == '\r')
            ++next;
        if (next < n && content[next] == '\n' && (next == end || content[end] == '\r'))
            ++next;
        line.ending = content.mid(end, next - end);
        ByteText t = trimmed(line.text);
        if (t.startsWith('[')) {
            qsizetype close = t.indexOf(']');
            line.section = true;
            line.name = trimmed(close < 0 ? t.mid(1) : t.mid(1, close - 1));
        } else if (!t.isEmpty() && t[0] != ';') {
            qsizetype eq = t.indexOf('=');
            line.name = trimmed(eq < 0 ? t : t.left(eq));
        }
        lines_.push_back(std::move(line));
        pos = next;
    }
}

qsizetype INI::findSection(const ByteText& Section) const {
    ByteText want = trimmed(Section);
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].section && sameName(lines_[i].name, want))
            return qsizetype(i);
    }
    return -1;
}

qsizetype INI::sectionEnd(qsizetype sectionLine) const {
    size_t i = size_t(sectionLine) + 1;
    while (i < lines_.size() && !lines_[i].section)
        ++i;
    return qsizetype(i);
}

qsizetype INI::findKey(qsizetype sectionLine, const ByteText& KeyName) const {
    ByteText want = trimmed(KeyName);
    qsizetype end = sectionEnd(sectionLine);
    for (qsizetype i = sectionLine + 1; i < end; ++i) {
        if (!lines_[i].name.isEmpty() && sameName(lines_[i].name, want))
            return i;
    }
    return -1;
}

ByteText INI::RINI(const ByteText& Section, const ByteText& KeyName) {
    refresh();
    qsizetype s = findSection(Section);
    if (s < 0)
        return {};
    qsizetype k = findKey(s, KeyName);
    if (k < 0)
        return {};
    const ByteText& text = lines_[k].text;
    qsizetype eq = text.indexOf('=');
    if (eq < 0)
        return {};
    return unquoted(trimmed(text.mid(eq + 1))).left(MaxValueLength);
}

void INI::WInI(const ByteText& Section, const ByteText& KeyName, const ByteText& KeyValue) {
    refresh();
    const ByteText crlf = "\r\n";
    qsizetype s = findSection(Section);
    if (s < 0) {
        if (!lines_.empty() && lines_.back().ending.isEmpty())
            lines_.back().ending = crlf;
        lines_.push_back({"[" + trimmed(Section) + "]", crlf, trimmed(Section), true});
        lines_.push_back({trimmed(KeyName) + "=" + KeyValue, crlf, trimmed(KeyName), false});
        save();
        return;
    }
    qsizetype k = findKey(s, KeyName);
    if (k >= 0) {
        lines_[k].text = lines_[k].name + "=" + KeyValue;
    } else {
        qsizetype at = sectionEnd(s);
        while (at > s + 1 && trimmed(lines_[at - 1].text).isEmpty())
            --at;
        if (lines_[at - 1].ending.isEmpty())
            lines_[at - 1].ending = crlf;
        Line line{trimmed(KeyName) + "=" + KeyValue, crlf, trimmed(KeyName), false};
        lines_.insert(lines_.begin() + at, std::move(line));
    }
    save();
}

bool INI::save() {
    ByteText content;
    for (const Line& line : lines_)
        content += line.text + line.ending;
    QSaveFile f(fileName_);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(content);
    if (ownerOnly_)
        f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (!f.commit())
        return false;
    stamp_ = stampOf(fileName_);
    return true;
}

bool INI::RINIb(const ByteText& Section, const ByteText& KeyName) {
    return RINI(Section, KeyName) == "True";
}

void INI::WInIb(const ByteText& Section, const ByteText& KeyName, bool KeyValue) {
    WInI(Section, KeyName, KeyValue ? "True" : "False");
}

int16_t INI::RINIi(const ByteText& Section, const ByteText& KeyName) {
    return RoundToInt16(LeadingNumber(RINI(Section, KeyName)));
}

void INI::WInIi(const ByteText& Section, const ByteText& KeyName, int16_t KeyValue) {
    WInI(Section, KeyName, ByteText::number(KeyValue));
}

double LeadingNumber(const ByteText& text) {
    // Collect sign, digits, one point and an exponent, skipping blanks.
    ByteText digits;
    bool point = false, exponent = false, any = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (isBlank(c) || c == '\r' || c == '\n')
            continue;
        bool signAllowed = digits.isEmpty() || digits.endsWith('E');
        if (c >= '0' && c <= '9') {
            any = true;
        } else if ((c == '-' || c == '+') && signAllowed) {
        } else if (c == '.' && !point && !exponent) {
            point = true;
        } else if ((c == 'e' || c == 'E' || c == 'd' || c == 'D') && any && !exponent) {
            exponent = true;
            c = 'E';
        } else {
            break;
        }
        digits += c;
    }
    if (!any)
        return 0;
    while (!digits.isEmpty() && !(digits.back() >= '0' && digits.back() <= '9'))
        digits.chop(1);
    bool ok = false;
    double v = digits.toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0;
}

int16_t RoundToInt16(double value) {
    double r = std::nearbyint(value); // the default rounding mode: ties to even
    if (r > 32767)
        return 32767;
    if (r < -32768)
        return -32768;
    return int16_t(r);
}
