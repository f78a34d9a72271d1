#pragma once
// The processing script as the page processor reads it: profile lookups
// through INI, each value remembered until the file's modification time or
// size changes. So an edit takes effect with the next page, while a page of
// a hundred rules costs no file reads and no profile scans once the script
// has been read. Between two such changes the file is read once: a script
// written a moment ago (a fresh install) would otherwise be read again for
// every key, as the profile reader does with a file that may still change.

#include "settings/bytetext.h"
#include "settings/ini.h"

#include <QHash>
#include <QString>
#include <cstdint>
#include <optional>

class ScriptFile {
public:
    // Makes path the script and checks it on disk; false when it does not
    // exist. Remembered values are dropped when the file changed.
    bool Open(const QString& path);

    // A value as the profile reader gives it: trimmed, at most 254
    // characters, empty when missing.
    ByteText Text(const ByteText& section, const ByteText& key);
    // The value's leading number, 0 when missing, within int16.
    int16_t Counter(const ByteText& section, const ByteText& key);

private:
    INI ini_;
    std::optional<INI::Batch> reading_; // holds one reading of the file
    QString path_;
    int64_t mtimeNs_ = -1, size_ = -1;
    QHash<ByteText, ByteText> values_;
};
