#include "update/update_download.h"

#include "net/download_control.h"
#include "net/response.h"
#include "settings/whole_file.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

// The version in the download counter's query, with anything that could
// break the request line escaped.
ByteText QueryValue(const ByteText& value) {
    return value.toPercentEncoding();
}

bool WriteExecutable(const QString& path, const ByteText& body) {
    if (!WriteWholeFile(path, body))
        return false;
    return QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                           QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                           QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                           QFileDevice::ExeOther);
}

// Writes the release into a folder made for it alone under updates/, so its
// name can never be that of a file the program or the user already has; the
// path written, or empty when a step failed (whatever was made then goes).
QString WriteRelease(const QString& programFolder, const ByteText& FileName, const ByteText& body) {
    const QString updates = programFolder + "/" + QLatin1String(ReleaseFolder);
    if (!QDir().mkpath(updates))
        return {};
    QTemporaryDir folder(updates + "/release-XXXXXX");
    if (!folder.isValid())
        return {};
    const QString path = folder.filePath(cp1251::toUnicode(FileName));
    if (!WriteExecutable(path, body))
        return {};
    folder.setAutoRemove(false);
    return path;
}

} // namespace

bool IsSafeReleaseName(const ByteText& FileName) {
    if (FileName.isEmpty() || FileName == "." || FileName.contains("..") ||
        FileName.contains('/') || FileName.contains('\\'))
        return false;
    for (char c : FileName)
        if (uchar(c) < 0x20 || uchar(c) == 0x7F)
            return false;
    return true;
}

bool ReleaseMatches(const ByteText& body, const UpdateInfo& info) {
    if (body.isEmpty() || body.size() != ReleaseSize(info))
        return false;
    if (info.SHA256.isEmpty())
        return true;
    const ByteText hash = QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex();
    return info.SHA256.trimmed().toLower() == hash;
}

FetchedRelease FetchRelease(Download_Control& DC, const UpdateInfo& info,
                            const QString& programFolder,
                            const std::function<void(const QString&)>& status,
                            const ByteText& publicKey) {
    FetchedRelease fetched;
    if (!IsSafeReleaseName(info.FileName))
        return fetched;
    if (DecodedSignature(info.Signature).isEmpty()) {
        fetched.outcome = ReleaseFetch::Unsigned;
        return fetched;
    }
    DC.RHost(info.Host);
    if (status)
        status(update_text::DownloadStatus(info));
    const ByteText result = DC.Down("/" + info.FileName, false);
    if (result == "stop") {
        fetched.outcome = ReleaseFetch::Stopped;
        return fetched;
    }
    if (DC.Down("/download.php?version=" + QueryValue(info.Version), false) == "stop") {
        fetched.outcome = ReleaseFetch::Stopped;
        return fetched;
    }
    const ByteText body = ExtractBody(result);
    if (result == "error" || !ReleaseMatches(body, info))
        return fetched;
    if (!SignedBy(body, info.Signature, publicKey)) {
        fetched.outcome = ReleaseFetch::Unsigned;
        return fetched;
    }
    fetched.path = WriteRelease(programFolder, info.FileName, body);
    if (!fetched.path.isEmpty())
        fetched.outcome = ReleaseFetch::Ready;
    return fetched;
}

bool StartRelease(const QString& path, const QString& programFolder) {
    return QProcess::startDetached(path, {}, programFolder);
}
