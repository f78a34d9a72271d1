#include "update/update_check.h"

#include "net/download_control.h"
#include "settings/ini.h"
#include "settings/version.h"
#include "update/release_signature.h"

#include <algorithm>
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

namespace {

// A text from the server without its control characters (a terminal's
// escape sequences, NUL, tabs): they would act wherever it is shown.
ByteText Printable(ByteText text) {
    text.removeIf([](char c) { return uchar(c) < 0x20 || uchar(c) == 0x7F; });
    return text;
}

} // namespace

UpdateInfo ReadVersionInfo(INI& ini, const ByteText& reply) {
    UpdateInfo info;
    ini.setText(reply);
    info.Version = Printable(ini.RINI("Main", "Version"));
    info.FileSize = Printable(ini.RINI("Main", "FileSize"));
    info.Host = Printable(ini.RINI("Main", "Host"));
    info.FileName = ini.RINI("Main", "FileName"); // refused whole when it holds any
    info.SHA256 = Printable(ini.RINI("Main", "SHA256"));
    info.Signature = Printable(ini.RINI("Main", "Signature"));
    for (ByteText line : reply.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.startsWith(';'))
            info.WhatsNew += "\r\n" + Printable(line.mid(1));
    }
    info.WhatsNew.remove(0, 2);
    return info;
}

bool IsNewVersion(const UpdateInfo& info) {
    return !info.Version.isEmpty() && info.Version != ProgramVersion;
}

qint64 ReleaseSize(const UpdateInfo& info) {
    // Beyond 2^53 bytes no size is meant exactly; a negative one none at all.
    constexpr double Largest = double(qint64(1) << 53);
    const double size = LeadingNumber(info.FileSize);
    return size > 0 ? std::llround(std::min(size, Largest)) : 0;
}

qint64 ReleaseSizeKb(const UpdateInfo& info) {
    return ReleaseSize(info) / 1024;
}

ByteText WhatsNewDocument(const ByteText& WhatsNew) {
    ByteText document = WhatsNew;
    if (!WhatsNew.contains('<')) {
        document.replace("&", "&amp;");
        document.replace("\r\n", "<br>\r\n");
    }
    // The preview control draws only what follows <body>.
    if (document.toLower().contains("<body"))
        return document;
    return "<html><body>" + document + "</body></html>";
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

QString Unsigned() {
    return QString::fromUtf8(
        "Обновление не подписано издателем. Скачайте его со страницы программы.");
}

QString UnattendedNotice(const UpdateInfo& info) {
    const QString notice =
        QString::fromUtf8("Найдена новая версия %1 (ваша версия - %2), %3 кб: %4. "
                          "В автоматическом режиме обновление не устанавливается.")
            .arg(cp1251::toUnicode(info.Version), QLatin1String(ProgramVersion))
            .arg(ReleaseSizeKb(info))
            .arg(DirectLink(info));
    return DecodedSignature(info.Signature).isEmpty() ? notice + " " + Unsigned() : notice;
}

} // namespace update_text
