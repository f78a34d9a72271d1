#pragma once
// The hosts the program talks to. Compiled-in defaults name the real sites;
// an optional sites.ini in the program folder ([Sites] with Newspaper,
// MagazineArchive, MagazineMain, Update, HomePage) points the program
// elsewhere, such as the demo site on loopback. A host may carry ":port";
// the "Host:" and "Referer:" lines then carry it too.

#include "settings/bytetext.h"

#include <QString>

struct Sites {
    ByteText Newspaper = "www.vedomir.ru";
    ByteText MagazineArchive = "offline.zenitra.ru";
    ByteText MagazineMain = "www.zenitra.ru";
    ByteText Update = "update.norvel.ru";
    ByteText HomePage = "www.norvel.ru";
};

// Defaults, overridden key by key by programFolder + "/sites.ini".
Sites LoadSites(const QString& programFolder);

// A host entry split for connecting: "name:port" or "name" (port 80).
struct HostPort {
    ByteText name;
    quint16 port = 80;
};
HostPort SplitHost(const ByteText& host);
