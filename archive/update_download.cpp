#include "archive/update_download.h"

#include "net/download_control.h"
#include "net/response.h"
#include "settings/whole_file.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

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
                            const std::function<void(const QString&)>& status) {
    FetchedRelease fetched;
    if (!IsSafeReleaseName(info.FileName))
        return fetched;
    fetched.path = programFolder + "/" + cp1251::toUnicode(info.FileName);
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
    if (QFileInfo(fetched.path).isFile())
        QFile::remove(fetched.path);
    if (result == "error" || !ReleaseMatches(body, info))
        return fetched;
    if (!WriteExecutable(fetched.path, body)) {
        QFile::remove(fetched.path);
        return fetched;
    }
    fetched.outcome = ReleaseFetch::Ready;
    return fetched;
}

bool StartRelease(const QString& path, const QString& programFolder) {
    return QProcess::startDetached(path, {}, programFolder);
}
