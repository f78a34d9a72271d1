#include "settings/ini.h"

#include <QDateTime>
#include <QFile>
#include <array>
#include <cmath>
#include <sys/stat.h>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

ByteText trimmed(const ByteText& s) {
    qsizetype b = 0, e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return s.mid(b, e - b);
}

// Case folding of Windows-1251 letters: Latin, the Russian alphabet with Ё and
// the other Cyrillic letters of the code page (Ў, Є, І, Ї, Ґ, Ј, Ѕ, Ђ...), the
// way the platform compares names without regard to case.
const std::array<unsigned char, 256>& foldTable() {
    static const std::array<unsigned char, 256> table = [] {
        std::array<unsigned char, 256> t{};
        for (int b = 0; b < 256; ++b) {
            const QString lower = cp1251::toUnicode(ByteText(1, char(b))).toLower();
            const ByteText back = cp1251::fromUnicode(lower);
            t[b] = back.size() == 1 && back != "?" ? uchar(back[0]) : uchar(b);
        }
        t[uchar('?')] = '?';
        return t;
    }();
    return table;
}

unsigned char fold(unsigned char c) {
    return foldTable()[c];
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

// The value of a key line as a read returns it: after the first "=",
// trimmed, unquoted, cut to the classic buffer.
ByteText valueOf(const ByteText& text) {
    qsizetype eq = text.indexOf('=');
    if (eq < 0)
        return {};
    return unquoted(trimmed(text.mid(eq + 1))).left(INI::MaxValueLength);
}

} // namespace

void INI::setFileName(const QString& FName) {
    if (unsaved_)
        save();
    fileName_ = FName;
    parsed_ = false;
}

void INI::beginBatch() {
    if (batchDepth_ == 0)
        refresh(); // start from what is on disk now
    ++batchDepth_;
}

void INI::endBatch() {
    if (--batchDepth_ == 0 && unsaved_)
        save();
}

void INI::changed() {
    if (batchDepth_ > 0)
        unsaved_ = true;
    else
        save();
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

// File times come from a coarse clock and inode numbers are reused, so two
// writes within a few milliseconds can leave the same stamp. A stamp that
// recent is checked against the bytes themselves (re-read, parsed again only
// when they differ); an older one is trusted.
void INI::refresh() {
    if (batchDepth_ > 0 && parsed_)
        return;
    Stamp now = stampOf(fileName_);
    if (parsed_ && now == stamp_ && !isRecent(now))
        return;
    ByteText content;
    if (now.exists) {
        QFile f(fileName_);
        if (f.open(QIODevice::ReadOnly))
            content = f.readAll();
    }
    if (!parsed_ || content != raw_)
        parse(content);
    raw_ = content;
    stamp_ = now;
    parsed_ = true;
}

bool INI::isRecent(const Stamp& stamp) {
    constexpr int64_t racyWindowNs = 2'000'000'000;
    const int64_t nowNs = QDateTime::currentMSecsSinceEpoch() * 1'000'000;
    return stamp.exists && stamp.mtimeNs > nowNs - racyWindowNs;
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
    return valueOf(lines_[k].text);
}

std::vector<INI::KeyLine> INI::RINISection(const ByteText& Section) {
    refresh();
    std::vector<KeyLine> keys;
    qsizetype s = findSection(Section);
    if (s < 0)
        return keys;
    const qsizetype end = sectionEnd(s);
    for (qsizetype i = s + 1; i < end; ++i) {
        if (!lines_[i].name.isEmpty())
            keys.push_back({lines_[i].name, valueOf(lines_[i].text)});
    }
    return keys;
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
        changed();
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
    changed();
}

bool INI::save() {
    ByteText content;
    for (const Line& line : lines_)
        content += line.text + line.ending;
    // Until the file holds the change, reads go back to what is on disk.
    parsed_ = false;
    unsaved_ = false;
    writeFailed_ = !WriteWholeFile(fileName_, content, sync_, ownerOnly_);
    if (writeFailed_)
        return false;
    raw_ = content;
    stamp_ = stampOf(fileName_);
    parsed_ = true;
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
