#include "settings/installed_data.h"

#include "settings/ini.h"
#include "settings/whole_file.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace {

const ByteText CopiedSection = "Copied";

ByteText digestOf(const std::optional<ByteText>& bytes) {
    return bytes ? QCryptographicHash::hash(*bytes, QCryptographicHash::Sha1).toHex() : ByteText();
}

// Whether the copy at target is to be replaced by the installed bytes: it is
// missing, or it still holds what was copied last time and the installation
// now ships something else. A copy made before there was a record is taken
// for the user's.
bool needsCopy(const QString& target, const ByteText& installedDigest, const ByteText& recorded) {
    if (!QFileInfo::exists(target))
        return true;
    const ByteText current = digestOf(ReadWholeFile(target));
    return current != installedDigest && !recorded.isEmpty() && current == recorded;
}

// Copies one installed file when needsCopy says so and records what the copy
// holds; false when it could not be read or written.
bool syncFile(const QString& installed, const QString& target, INI& record) {
    const std::optional<ByteText> bytes = ReadWholeFile(installed);
    if (!bytes)
        return false;
    const ByteText key = QFileInfo(installed).fileName().toUtf8();
    const ByteText digest = digestOf(bytes);
    const ByteText recorded = record.RINI(CopiedSection, key);
    if (needsCopy(target, digest, recorded)) {
        if (!WriteWholeFile(target, *bytes))
            return false;
    } else if (digestOf(ReadWholeFile(target)) != digest) {
        return true; // the user's own copy
    }
    if (recorded != digest)
        record.WInI(CopiedSection, key, digest);
    return true;
}

} // namespace

bool SyncInstalledData(const QString& installedData, const QString& programFolder) {
    const QString data = programFolder + "/data";
    if (!QDir().mkpath(data))
        return false;
    INI record;
    record.setFileName(data + "/" + InstalledDataRecord);
    bool ok = true;
    {
        INI::Batch batch(record);
        for (const QString& name : QDir(installedData).entryList(QDir::Files))
            ok = syncFile(installedData + "/" + name, data + "/" + name, record) && ok;
    }
    return ok && !record.WriteFailed();
}
