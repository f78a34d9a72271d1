#pragma once
// The running demo site: one loopback server per host (newspaper, magazine
// archive, magazine main, update) and one proxy server that answers absolute
// URIs for all of them and opens CONNECT tunnels to them. Every request is
// recorded, checked against the fault rules and answered by its host's site.
// With TLS on, the hosts speak TLS with a throw-away certificate whose
// authority is written to a file for the client to trust.

#include "tools/demosite/certificates.h"
#include "tools/demosite/connection.h"
#include "tools/demosite/faults.h"
#include "tools/demosite/images.h"
#include "tools/demosite/magazine_site.h"
#include "tools/demosite/newspaper_site.h"
#include "tools/demosite/request_log.h"
#include "tools/demosite/site_model.h"
#include "tools/demosite/update_site.h"

#include <QObject>
#include <QTcpServer>
#include <array>
#include <memory>
#include <optional>

struct ServerOptions {
    DemoConfig content;
    FaultRules faults;
    QString logFile;
    ByteText proxyCredentials;      // "user:password", or empty for an open proxy
    bool proxyAuthRequired = false; // 407 reads "Proxy Authentication Required"
    bool proxyRefuses401 = false;   // a refused login gets "401 Unauthorized" instead
    quint16 basePort = 0;           // 0: free ports chosen by the system
    int dribbleMs = 2;
    int latencyMs = 0; // the round trip every connection behaves as if over
    bool verbose = false;
    bool tls = false; // the hosts speak TLS
    CertificateKind certificate = CertificateKind::Good;
    QString caFile; // with tls: where the authority's certificate is written
};

class DemoServer : public QObject {
    Q_OBJECT
public:
    enum HostIndex { Newspaper, MagazineArchive, MagazineMain, Update, Proxy, HostCount };

    explicit DemoServer(ServerOptions options);
    // Starts every server on loopback (with TLS: after writing the
    // authority's certificate to caFile); false with a message when one
    // cannot.
    bool start(QString* error);

    quint16 port(HostIndex host) const { return servers_[host]->serverPort(); }
    ByteText hostString(HostIndex host) const;
    // The profile text for the program's sites.ini, lines ended by CR LF.
    ByteText sitesProfile() const;

private:
    Reply reply(HostIndex host, const ByteText& head);
    Reply proxyReply(const Request& request);
    Reply tunnelReply(const Request& request);
    bool createServers(QString* error);
    std::optional<HostIndex> loopbackHost(const ByteText& host) const;
    Reply siteReply(Site* site, const Request& request);
    Site* siteForHost(const ByteText& host) const;
    Site* site(HostIndex host) const;
    bool proxyAuthorised(const Request& request) const;

    ServerOptions options_;
    SiteModel model_;
    PictureStore pictures_;
    std::unique_ptr<SiteContext> context_;
    std::unique_ptr<NewspaperSite> newspaper_;
    std::unique_ptr<MagazineArchiveSite> archive_;
    std::unique_ptr<MagazineMainSite> main_;
    std::unique_ptr<UpdateSite> update_;
    std::array<QTcpServer*, HostCount> servers_{};
    RequestLog log_;
    ConnectionGauge gauge_;
};
