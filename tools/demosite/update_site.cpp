#include "tools/demosite/update_site.h"

#include "tools/demosite/page_parts.h"
#include "tools/demosite/release_signing.h"

#include <QCryptographicHash>

ByteText UpdateSite::releaseName(const ByteText& version) {
    return "norvel2-" + version + "-update.sh";
}

ByteText UpdateSite::releaseFile(const ByteText& version) {
    // A harmless installer stand-in: a shell script that only reports itself,
    // padded to the size of a real release (about 70 kB).
    ByteText out = "#!/bin/sh\n# Norvel " + version +
                   " update (demo site)\n"
                   "echo 'Norvel " +
                   version +
                   ": demo update, nothing installed'\n"
                   "exit 0\n";
    while (out.size() < 70000)
        out += "# ..............................................................\n";
    return out;
}

ByteText UpdateSite::announcedName() const {
    const DemoConfig& config = context_.model.config();
    return config.updateFileName.isEmpty() ? releaseName(config.updateVersion)
                                           : config.updateFileName;
}

ByteText UpdateSite::releaseBytes() const {
    const DemoConfig& config = context_.model.config();
    return config.updateRelease.isEmpty() ? releaseFile(config.updateVersion)
                                          : config.updateRelease;
}

ByteText UpdateSite::versionInfo(const HostNames& names) const {
    const DemoConfig& config = context_.model.config();
    if (!config.updateInfo.isEmpty())
        return config.updateInfo;
    const ByteText version = config.updateVersion;
    const ByteText release = releaseBytes();
    ByteText out = "[Main]\r\n";
    out += "Version=" + version + "\r\n";
    out += "FileSize=" +
           (config.updateFileSize.isEmpty() ? ByteText::number(release.size())
                                            : config.updateFileSize) +
           "\r\n";
    // The update host as sites.ini names it: "https://" leads a TLS host.
    out += "Host=" + (names.secure ? names.address(names.update) : names.update) + "\r\n";
    out += "FileName=" + announcedName() + "\r\n";
    if (config.updateSha256.isEmpty())
        out += "SHA256=" + QCryptographicHash::hash(release, QCryptographicHash::Sha256).toHex() +
               "\r\n";
    else if (config.updateSha256 != "none")
        out += "SHA256=" + config.updateSha256 + "\r\n";
    if (config.updateSignature == "good")
        out += "Signature=" + DemoSignature(release) + "\r\n";
    else if (config.updateSignature == "bad")
        out += "Signature=" + DemoSignature(release + "\n") + "\r\n";
    out += ";" + W("Версия ") + version + ":\r\n";
    out += ";" + W("- ускорена загрузка изображений;") + "\r\n";
    out += ";" + W("- исправлена работа через прокси-сервер;") + "\r\n";
    out += ";" + W("- обновлён сценарий обработки страниц.") + "\r\n";
    return out;
}

Response UpdateSite::answer(const Request& request) {
    const HostNames names = context_.namesFor(request);
    const ByteText version = context_.model.config().updateVersion;
    if (request.path == "/version.info")
        return Response::make(200, "text/plain; charset=windows-1251", versionInfo(names));
    if (request.path == "/" + announcedName())
        return Response::make(200, "application/octet-stream", releaseBytes());
    if (request.path == "/download.php") {
        ++downloads_;
        return Response::make(200, "text/plain", "OK\r\n");
    }
    if (request.path == "/") {
        ByteText out =
            page::head(W("Норвел: программа для чтения газет офлайн"), "/_css/style.css");
        out += "<h1>" + W("Норвел") + "</h1>\r\n<p>" + W("Последняя версия: ") + version +
               "</p>\r\n<p><a href=\"/" + announcedName() + "\">" + W("Скачать") + "</a></p>\r\n";
        out += page::tail(W("© Норвел"));
        return Response::html(out);
    }
    return Response::notFound();
}
