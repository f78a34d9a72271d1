#include "settings/sites.h"

#include "settings/ini.h"

#include <QFileInfo>

Sites LoadSites(const QString& programFolder) {
    Sites sites;
    const QString path = programFolder + "/sites.ini";
    if (!QFileInfo::exists(path))
        return sites;
    INI ini;
    ini.setFileName(path);
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
    return sites;
}

HostPort SplitHost(const ByteText& host) {
    HostPort hp{host, 80};
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
