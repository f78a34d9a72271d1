// The profile reader on any file: read what is there, write four keys (one
// the file already has, a new one in its first section, one in a new
// section, a number), then read the file again with a second reader. Every
// written value reads back, and every other key of the file's sections keeps
// the value it had. Half the inputs write inside a batch.
#include "settings/ini.h"
#include "tests/fuzz/fuzz_check.h"

#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace {

using Entries = std::vector<INI::KeyLine>;

// Names compare without regard to letter case, Cyrillic included.
QString folded(const ByteText& name) {
    return cp1251::toUnicode(name).toLower();
}

ByteText withoutBlanks(const ByteText& text) {
    qsizetype b = 0, e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t'))
        ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t'))
        --e;
    return text.mid(b, e - b);
}

// Names of the first few sections, read the way a section line is.
QList<ByteText> sectionNames(const ByteText& content) {
    QList<ByteText> names;
    for (const ByteText& raw : content.split('\n')) {
        for (const ByteText& line : raw.split('\r')) {
            const ByteText t = withoutBlanks(line);
            if (t.startsWith('[') && names.size() < 8) {
                const qsizetype close = t.indexOf(']');
                names.append(withoutBlanks(close < 0 ? t.mid(1) : t.mid(1, close - 1)));
            }
        }
    }
    return names;
}

// A value a reader gives back unchanged: no line break, neither blanks nor
// quotes at its ends.
ByteText valueFrom(const ByteText& bytes, char tag) {
    ByteText value = bytes.left(40);
    value.replace('\r', '_').replace('\n', '_');
    return tag + value + tag;
}

Entries without(const Entries& entries, const QList<QString>& names) {
    Entries kept;
    for (const INI::KeyLine& entry : entries) {
        if (!names.contains(folded(entry.name)))
            kept.push_back(entry);
    }
    return kept;
}

bool sameEntries(const Entries& a, const Entries& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].name != b[i].name || a[i].value != b[i].value)
            return false;
    }
    return true;
}

const QString& profilePath() {
    static QTemporaryDir dir;
    static const QString path = dir.filePath("options.ini");
    return path;
}

struct Written {
    QMap<std::pair<QString, QString>, ByteText> values; // last write of each name wins
    QList<QString> keys;

    void note(const ByteText& section, const ByteText& key, const ByteText& value) {
        values[{folded(section), folded(key)}] = value;
        keys.append(folded(key));
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const ByteText content(reinterpret_cast<const char*>(data), qsizetype(size));
    {
        QFile file(profilePath());
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(content) == content.size());
    }
    (void)RoundToInt16(LeadingNumber(content.left(40)));

    INI ini;
    ini.setFileName(profilePath());
    ini.setSync(FileSync::NoWait);
    const QList<ByteText> sections = sectionNames(content);
    QList<Entries> before;
    for (const ByteText& name : sections)
        before.append(ini.RINISection(name));

    const ByteText section = sections.isEmpty() ? ByteText("Main") : sections.front();
    const ByteText key = before.isEmpty() || before.front().empty() ? ByteText("FuzzKey")
                                                                    : before.front().front().name;
    const int16_t number = int16_t(size * 2654435761u);
    Written written;
    {
        std::optional<INI::Batch> batch;
        if (size % 2)
            batch.emplace(ini);
        ini.WInI(section, key, valueFrom(content, 'a'));
        written.note(section, key, valueFrom(content, 'a'));
        ini.WInI(section, "FuzzNewKey", valueFrom(content.right(40), 'b'));
        written.note(section, "FuzzNewKey", valueFrom(content.right(40), 'b'));
        ini.WInI("FuzzNewSection", "FuzzKey", "c");
        written.note("FuzzNewSection", "FuzzKey", "c");
        ini.WInIi(section, "FuzzNumber", number);
        written.note(section, "FuzzNumber", ByteText::number(number));
    }

    INI reread;
    reread.setFileName(profilePath());
    for (auto it = written.values.cbegin(); it != written.values.cend(); ++it) {
        const ByteText s = cp1251::fromUnicode(it.key().first);
        const ByteText k = cp1251::fromUnicode(it.key().second);
        FUZZ_CHECK(ini.RINI(s, k) == it.value());
        FUZZ_CHECK(reread.RINI(s, k) == it.value());
    }
    FUZZ_CHECK(reread.RINIi(section, "FuzzNumber") == number);
    for (qsizetype i = 0; i < sections.size(); ++i) {
        FUZZ_CHECK(sameEntries(without(before[i], written.keys),
                               without(reread.RINISection(sections[i]), written.keys)));
    }
    return 0;
}
