#pragma once
// FetchRoute: where the download control's fetches go and how. It keeps the
// host entry, the proxy and its Basic credentials, and whom a TLS site must
// be certified by; from them it builds the request the site gets and plans
// each connection: to the site directly, to the proxy, or through the proxy
// inside a CONNECT tunnel. It also remembers which byte form of the
// credentials the proxy accepted. Nothing here touches a socket: the
// control opens the planned connection and judges what comes back.

#include "net/fetch_connection.h"
#include "net/proxy_auth.h"
#include "net/tls_trust.h"
#include "settings/bytetext.h"

#include <QString>
#include <optional>

// The next connection, or why there is none.
struct RoutePlan {
    // The status shown while connecting; empty when the host entry itself
    // was refused.
    QString connecting;
    // The connection to open; nothing when it cannot be made, and then
    // failure says why.
    std::optional<ConnectionPlan> connection;
    QString failure;
    // The failure is a TLS reason (no usable authorities file), to be told
    // as a secure connection's failure; otherwise a host entry or proxy
    // port that cannot be used.
    bool secureFailure = false;
};

class FetchRoute {
public:
    // "name", "name:port", either led by "http://" or "https://".
    void setHost(const ByteText& host) { host_ = host; }
    const ByteText& host() const { return host_; }
    // Whether the host entry names a TLS site.
    bool secure() const;

    // Proxy on or off; name and port are taken only when switching on.
    void useProxy(const ByteText& name, const ByteText& port, bool on);
    bool viaProxy() const { return proxyOn_; }
    // The proxy as entered, "name:port", for the status texts.
    QString proxyAddress() const;

    // Basic authorisation on or off; credentials are taken only when
    // switching on. Other credentials than before lead with their first
    // byte form again.
    void authorise(const ByteText& login, const ByteText& password, bool on);
    bool authorising() const { return proxyAuthOn_; }
    // After the proxy refused the credentials: puts their other byte form
    // first. False, changing nothing, when there is no other form.
    bool switchCredentialForm();

    void setCaFile(const QString& path) { tls_.setCaFile(path); }

    // Takes lead's host, proxy, credentials (and the form that goes first)
    // and authorities file. The trust built from that file is not taken:
    // it is built here again when a secure connection first needs it.
    void takeSettingsOf(const FetchRoute& lead);

    // The exact request for a path with the current settings.
    ByteText requestFor(const ByteText& path) const;
    // Where the next connection goes and how; builds the TLS trust once.
    RoutePlan plan();

private:
    ByteText proxyToken() const;

    ByteText host_;
    bool proxyOn_ = false;
    ByteText proxyName_, proxyPort_;
    bool proxyAuthOn_ = false;
    ProxyCredentials proxyCredentials_;
    bool utf8Credentials_ = false; // the UTF-8 form goes first
    TlsTrust tls_;
};
