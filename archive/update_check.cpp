#include "archive/update_check.h"

#include "net/download_control.h"
#include "settings/ini.h"
#include "settings/version.h"

#include <cmath>

VersionCheck AskUpdateServer(Download_Control& DC, const ByteText& updateHost, INI& ini,
                             UpdateInfo& info) {
    info = UpdateInfo();
    DC.RHost(updateHost);
    const ByteText result = DC.Down("/version.info", false);
    if (result == "stop")
        return VersionCheck::Stopped;
    if (result == "error")
        return DC.ProxyRefused() ? VersionCheck::ProxyRefused : VersionCheck::Current;
    info = ReadVersionInfo(ini, result);
    return IsNewVersion(info) ? VersionCheck::NewVersion : VersionCheck::Current;
}

UpdateInfo ReadVersionInfo(INI& ini, const ByteText& reply) {
    UpdateInfo info;
    ini.setText(reply);
    info.Version = ini.RINI("Main", "Version");
    info.FileSize = ini.RINI("Main", "FileSize");
    info.Host = ini.RINI("Main", "Host");
    info.FileName = ini.RINI("Main", "FileName");
    info.SHA256 = ini.RINI("Main", "SHA256");
    for (ByteText line : reply.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.startsWith(';'))
            info.WhatsNew += "\r\n" + line.mid(1);
    }
    info.WhatsNew.remove(0, 2);
    return info;
}

bool IsNewVersion(const UpdateInfo& info) {
    return !info.Version.isEmpty() && info.Version != ProgramVersion;
}

qint64 ReleaseSize(const UpdateInfo& info) {
    return std::llround(LeadingNumber(info.FileSize));
}

qint64 ReleaseSizeKb(const UpdateInfo& info) {
    return ReleaseSize(info) / 1024;
}

ByteText WhatsNewDocument(const ByteText& WhatsNew) {
    if (WhatsNew.contains('<'))
        return WhatsNew;
    ByteText document = WhatsNew;
    document.replace("&", "&amp;");
    document.replace("\r\n", "<br>\r\n");
    return document;
}

namespace update_text {

QString VersionLabel(const UpdateInfo& info) {
    return QString::fromUtf8("Версия: ") + cp1251::toUnicode(info.Version) +
           QString::fromUtf8(" (ваша версия - ") + QLatin1String(ProgramVersion) + ")";
}

QString SizeLabel(const UpdateInfo& info) {
    return QString::fromUtf8("Размер файла: %1 кб").arg(ReleaseSizeKb(info));
}

QString Notice() {
    return QString::fromUtf8("Внимание!\r\nГарантируется работоспособность только последней "
                             "доступной версии.");
}

QString DirectLink(const UpdateInfo& info) {
    return "http://" + cp1251::toUnicode(info.Host) + "/" + cp1251::toUnicode(info.FileName);
}

QString DownloadStatus(const UpdateInfo& info) {
    return QString::fromUtf8("Загрузка обновления (%1 кб)...").arg(ReleaseSizeKb(info));
}

QString Failed() {
    return QString::fromUtf8("Ошибка при загрузке обновления.");
}

QString UnattendedNotice(const UpdateInfo& info) {
    return QString::fromUtf8("Найдена новая версия %1 (ваша версия - %2), %3 кб: %4. "
                             "В автоматическом режиме обновление не устанавливается.")
        .arg(cp1251::toUnicode(info.Version), QLatin1String(ProgramVersion))
        .arg(ReleaseSizeKb(info))
        .arg(DirectLink(info));
}

} // namespace update_text
