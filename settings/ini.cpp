#include "settings/ini.h"

#include <QDateTime>
#include <QFile>
#include <algorithm>
#include <array>
#include <cmath>

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

// A name as names are compared: every letter in its lower case.
ByteText folded(const ByteText& name) {
    ByteText out(name.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < name.size(); ++i)
        out[i] = char(fold(uchar(name[i])));
    return out;
}

ByteText unquoted(const ByteText& value) {
    if (value.size() >= 2) {
        char q = value.front();
        if ((q == '"' || q == '\'') && value.back() == q)
            return value.mid(1, value.size() - 2);
    }
    return value;
}

// The value of a key line as a read returns it.
ByteText valueOf(const ByteText& text) {
    qsizetype eq = text.indexOf('=');
    if (eq < 0)
        return {};
    return INI::ValueAsRead(text.mid(eq + 1));
}

// Keeps the first line of a name: later ones are never read.
void addFirst(QHash<ByteText, qsizetype>& lines, const ByteText& name, qsizetype line) {
    if (!lines.contains(name))
        lines.insert(name, line);
}

} // namespace

ByteText INI::ValueAsRead(const ByteText& value) {
    return unquoted(trimmed(value)).left(MaxValueLength);
}

void INI::setFileName(const QString& FName) {
    if (unsaved_)
        save();
    fileName_ = FName;
    parsed_ = false;
    inMemory_ = false;
}

void INI::setText(const ByteText& content) {
    setFileName(QString());
    parse(content);
    raw_ = content;
    stamp_ = FileStamp();
    parsed_ = true;
    inMemory_ = true;
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

void INI::discardBatch() {
    if (!unsaved_)
        return;
    unsaved_ = false;
    parsed_ = false;
}

void INI::changed() {
    if (batchDepth_ > 0)
        unsaved_ = true;
    else
        save();
}

// File times come from a coarse clock and inode numbers are reused, so two
// writes within a few milliseconds can leave the same stamp. A stamp that
// recent is checked against the bytes themselves (re-read, parsed again only
// when they differ); an older one is trusted.
void INI::refresh() {
    if ((batchDepth_ > 0 || inMemory_) && parsed_)
        return;
    FileStamp now = StampOf(fileName_);
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

bool INI::isRecent(const FileStamp& stamp) {
    constexpr int64_t racyWindowNs = 2'000'000'000;
    const int64_t nowNs = QDateTime::currentMSecsSinceEpoch() * 1'000'000;
    return stamp.exists && stamp.mtimeNs > nowNs - racyWindowNs;
}

void INI::parse(const ByteText& content) {
    lines_.clear();
    indexed_ = false;
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

const INI::Index& INI::index() {
    if (indexed_)
        return index_;
    index_ = Index();
    qsizetype section = -1;
    for (size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        if (line.section) {
            section = qsizetype(i);
            index_.sectionLines.push_back(section);
            addFirst(index_.sections, folded(line.name), section);
        } else if (section >= 0 && !line.name.isEmpty()) {
            addFirst(index_.keys[section], folded(line.name), qsizetype(i));
        }
    }
    indexed_ = true;
    return index_;
}

qsizetype INI::findSection(const ByteText& Section) {
    return index().sections.value(folded(trimmed(Section)), -1);
}

qsizetype INI::sectionEnd(qsizetype sectionLine) {
    const std::vector<qsizetype>& starts = index().sectionLines;
    const auto next = std::upper_bound(starts.begin(), starts.end(), sectionLine);
    return next == starts.end() ? qsizetype(lines_.size()) : *next;
}

qsizetype INI::findKey(qsizetype sectionLine, const ByteText& KeyName) {
    const Index& at = index();
    const auto section = at.keys.constFind(sectionLine);
    if (section == at.keys.cend())
        return -1;
    return section->value(folded(trimmed(KeyName)), -1);
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
        indexed_ = false;
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
        // A key added at the very end moves no other line: the index only
        // gains it. Anywhere else the lines below move and the index is
        // built again when next needed.
        if (at == qsizetype(lines_.size()) && indexed_)
            addFirst(index_.keys[s], folded(line.name), at);
        else
            indexed_ = false;
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
    stamp_ = StampOf(fileName_);
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
