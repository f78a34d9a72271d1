#pragma once
// The hosts the program talks to. Compiled-in defaults name the real sites;
// an optional sites.ini in the program folder ([Sites] with Newspaper,
// MagazineArchive, MagazineMain, Update, HomePage) points the program
// elsewhere, such as the demo site on loopback. A host is written "name",
// "name:port", "http://name[:port]" (the same as the bare name) or
// "https://name[:port]" (fetched over TLS, port 443 unless given); the
// "Host:" line carries name[:port] as written, the links and the "Referer:"
// line the scheme too. CaFile names a PEM file of further certificate
// authorities to trust for the https hosts (relative to the program folder).

#include "settings/bytetext.h"

#include <QString>

struct Sites {
    ByteText Newspaper = "www.vedomir.ru";
    ByteText MagazineArchive = "offline.zenitra.ru";
    ByteText MagazineMain = "www.zenitra.ru";
    ByteText Update = "update.norvel.ru";
    ByteText HomePage = "www.norvel.ru";
    // Absolute path of the extra authorities' file, or empty for none.
    QString CaFile;
};

// Defaults, overridden key by key by programFolder + "/sites.ini".
Sites LoadSites(const QString& programFolder);

// A host entry taken apart: its scheme ("http" or "https", lower case) and
// name[:port] as written. An entry naming another scheme is not valid.
struct HostEntry {
    ByteText scheme = "http";
    ByteText host;
    bool valid = true;
    bool secure() const { return scheme == "https"; }
};
HostEntry ParseHostEntry(const ByteText& entry);

// Scheme + "://" + name[:port]: the site's address that links and the
// cache name, e.g. "https://www.vedomir.ru" or "http://127.0.0.1:8080".
ByteText SiteAddress(const ByteText& entry);

// A host entry split for connecting: name and port (80, or 443 for https,
// unless the entry gives one).
struct HostPort {
    ByteText name;
    quint16 port = 80;
};
HostPort SplitHost(const ByteText& entry);
