#include "processing/script_file.h"

#include <QFile>
#include <sys/stat.h>

bool ScriptFile::Open(const QString& path) {
    struct stat st {};
    const bool exists =
        ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
    const int64_t mtimeNs =
        exists ? int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec : -1;
    const int64_t size = exists ? int64_t(st.st_size) : -1;
    if (path != path_ || mtimeNs != mtimeNs_ || size != size_) {
        values_.clear();
        reading_.reset();
        path_ = path;
        mtimeNs_ = mtimeNs;
        size_ = size;
        ini_.setFileName(path);
        reading_.emplace(ini_);
    }
    return exists;
}

ByteText ScriptFile::Text(const ByteText& section, const ByteText& key) {
    const ByteText memoKey = section + '\n' + key;
    auto it = values_.constFind(memoKey);
    if (it != values_.constEnd())
        return *it;
    ByteText value = ini_.RINI(section, key);
    values_.insert(memoKey, value);
    return value;
}

int16_t ScriptFile::Counter(const ByteText& section, const ByteText& key) {
    return RoundToInt16(LeadingNumber(Text(section, key)));
}
