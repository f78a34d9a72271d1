#pragma once
// The demo site server for one test: starts the built norvel-demosite on free
// loopback ports with the given extra switches, waits until it listens, and
// stops it when the object goes. Its host strings ("127.0.0.1:port", or
// "https://127.0.0.1:port" with --tls) go into a program folder's sites.ini;
// its request log shows every request head it received, byte for byte.

#include "settings/bytetext.h"
#include "settings/settings.h"

#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class DemoSite {
public:
    // Waits at most startTimeoutMs for the server to listen.
    explicit DemoSite(const QStringList& extraArguments = {}, int startTimeoutMs = 15000);
    ~DemoSite();
    DemoSite(const DemoSite&) = delete;
    DemoSite& operator=(const DemoSite&) = delete;

    // Whether the server started; error() says why not.
    bool isRunning() const;
    QString error() const { return error_; }

    // "127.0.0.1:port" of each host as sites.ini names them, led by
    // "https://" when the site serves TLS.
    ByteText newspaper() const { return value("Newspaper"); }
    ByteText magazineArchive() const { return value("MagazineArchive"); }
    ByteText magazineMain() const { return value("MagazineMain"); }
    ByteText update() const { return value("Update"); }
    ByteText homePage() const { return value("HomePage"); }
    ByteText proxy() const { return value("Proxy"); }
    quint16 proxyPort() const;
    static quint16 portOf(const ByteText& host);
    // With --tls: the authority's certificate file (CaFile); else empty.
    QString caFile() const { return QString::fromLocal8Bit(value("CaFile")); }

    // The sites profile the server wrote, and a copy of it as
    // programFolder + "/sites.ini".
    QString sitesFile() const { return dir_.filePath("sites.ini"); }
    ByteText sitesProfile() const { return profile_; }
    bool installInto(const QString& programFolder) const;

    // Every request head received so far, in order of arrival, each through
    // its blank line; requestLog() is the same bytes in one piece.
    ByteText requestLog() const;
    QList<ByteText> requests() const;
    // The request lines (first line of each head, without CR LF).
    QList<ByteText> requestLines() const;
    void clearRequestLog();
    // The most connections the site had open at the same time since it
    // started.
    int peakConnections() const;

    // Stops the server now (the destructor does it too).
    void stop();

private:
    ByteText value(const char* key) const;

    QTemporaryDir dir_;
    QProcess process_;
    ByteText profile_;
    QString error_;
};

// Points the settings at the demo site's proxy on proxyPort with the
// credentials the tests start it with (--proxy-auth reader:secret).
void UseDemoProxy(Settings& settings, quint16 proxyPort);
