#include "settings/sites.h"

#include "settings/ini.h"

#include <QDir>
#include <QFileInfo>

Sites LoadSites(const QString& programFolder) {
    Sites sites;
    const QString path = programFolder + "/sites.ini";
    if (!QFileInfo::exists(path))
        return sites;
    INI ini;
    ini.setFileName(path);
    // One read of the file for all keys, however fresh it is.
    const INI::Batch reading(ini);
    auto take = [&ini](const char* key, ByteText& field) {
        ByteText value = ini.RINI("Sites", key);
        if (!value.isEmpty())
            field = value;
    };
    take("Newspaper", sites.Newspaper);
    take("MagazineArchive", sites.MagazineArchive);
    take("MagazineMain", sites.MagazineMain);
    take("Update", sites.Update);
    take("HomePage", sites.HomePage);
    const ByteText caFile = ini.RINI("Sites", "CaFile");
    if (!caFile.isEmpty())
        sites.CaFile = QDir(programFolder).absoluteFilePath(cp1251::toUnicode(caFile));
    return sites;
}

HostEntry ParseHostEntry(const ByteText& entry) {
    HostEntry parsed;
    parsed.host = entry;
    const qsizetype separator = entry.indexOf("://");
    if (separator >= 0) {
        parsed.scheme = entry.left(separator).toLower();
        parsed.host = entry.mid(separator + 3);
        parsed.valid = parsed.scheme == "http" || parsed.scheme == "https";
    }
    // "https://name/" names the same host as "https://name".
    while (parsed.host.endsWith('/'))
        parsed.host.chop(1);
    parsed.valid = parsed.valid && !parsed.host.isEmpty() && !parsed.host.contains('/');
    return parsed;
}

ByteText SiteAddress(const ByteText& entry) {
    const HostEntry parsed = ParseHostEntry(entry);
    return parsed.scheme + "://" + parsed.host;
}

HostPort SplitHost(const ByteText& entry) {
    const HostEntry parsed = ParseHostEntry(entry);
    const ByteText& host = parsed.host;
    HostPort hp{host, quint16(parsed.secure() ? 443 : 80)};
    qsizetype colon = host.lastIndexOf(':');
    if (colon > 0) {
        bool ok = false;
        uint port = host.mid(colon + 1).toUInt(&ok);
        if (ok && port > 0 && port < 65536) {
            hp.name = host.left(colon);
            hp.port = quint16(port);
        }
    }
    return hp;
}
