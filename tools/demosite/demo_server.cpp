#include "tools/demosite/demo_server.h"

#include "settings/sites.h"
#include "tools/demosite/connection.h"
#include "tools/demosite/tls_server.h"

#include <QSaveFile>
#include <QSslKey>
#include <QTcpSocket>
#include <cstdio>

namespace {

const char* const HostKeys[] = {"Newspaper", "MagazineArchive", "MagazineMain", "Update", "Proxy"};

Response proxyChallenge(const ServerOptions& options) {
    Response response = Response::make(407, "text/html",
                                       "<html><body><h1>407 Unauthorized</h1>"
                                       "<p>Proxy authentication required.</p></body></html>\r\n");
    if (options.proxyAuthRequired)
        response.reason = "Proxy Authentication Required";
    // As tinyproxy answers a wrong login.
    if (options.proxyRefuses401)
        response.status = 401;
    response.addHeader("Proxy-Authenticate", "Basic realm=\"norvel-demosite\"");
    return response;
}

// A body as "Transfer-Encoding: chunked" sends it: pieces of at most 1000
// bytes, each led by its length in hexadecimal, then a piece of length 0.
ByteText chunkedFraming(const ByteText& body) {
    constexpr qsizetype Piece = 1000;
    ByteText framed;
    for (qsizetype at = 0; at < body.size(); at += Piece) {
        const ByteText piece = body.mid(at, Piece);
        framed += ByteText::number(piece.size(), 16) + "\r\n" + piece + "\r\n";
    }
    return framed + "0\r\n\r\n";
}

} // namespace

DemoServer::DemoServer(ServerOptions options)
    : options_(std::move(options)), model_(options_.content),
      pictures_(options_.content.seed, options_.content.imageSize) {}

// Plain servers, or TLS servers for the hosts (the proxy stays plain), their
// authority written out first.
bool DemoServer::createServers(QString* error) {
    QSslConfiguration tls;
    if (options_.tls) {
        std::optional<DemoCertificates> made = MakeCertificates(options_.certificate, error);
        if (!made)
            return false;
        QSaveFile file(options_.caFile);
        if (!file.open(QIODevice::WriteOnly) || file.write(made->authorityPem) < 0 ||
            !file.commit()) {
            *error = "cannot write " + options_.caFile + ": " + file.errorString();
            return false;
        }
        tls.setLocalCertificate(QSslCertificate(made->serverPem));
        tls.setPrivateKey(QSslKey(made->serverKeyPem, QSsl::Ec));
        tls.setPeerVerifyMode(QSslSocket::VerifyNone);
    }
    for (int host = 0; host < HostCount; ++host)
        servers_[host] =
            options_.tls && host != Proxy ? new TlsServer(tls, this) : new QTcpServer(this);
    return true;
}

bool DemoServer::start(QString* error) {
    gauge_.peakRaised = [this](int peak) { log_.recordPeak(peak); };
    if (!log_.open(options_.logFile, error) || !createServers(error))
        return false;
    for (int host = 0; host < HostCount; ++host) {
        const quint16 wanted = options_.basePort ? quint16(options_.basePort + host) : 0;
        if (!servers_[host]->listen(QHostAddress::LocalHost, wanted)) {
            *error = QString("cannot listen on 127.0.0.1:%1 for %2: %3")
                         .arg(wanted)
                         .arg(HostKeys[host], servers_[host]->errorString());
            return false;
        }
    }
    context_ = std::make_unique<SiteContext>(
        SiteContext{model_, pictures_,
                    HostNames{hostString(Newspaper), hostString(MagazineArchive),
                              hostString(MagazineMain), hostString(Update), options_.tls}});
    newspaper_ = std::make_unique<NewspaperSite>(*context_);
    archive_ = std::make_unique<MagazineArchiveSite>(*context_);
    main_ = std::make_unique<MagazineMainSite>(*context_);
    update_ = std::make_unique<UpdateSite>(*context_);
    for (int host = 0; host < HostCount; ++host) {
        QTcpServer* server = servers_[host];
        connect(server, &QTcpServer::newConnection, this, [this, server, host] {
            while (QTcpSocket* socket = server->nextPendingConnection())
                new Connection(
                    socket,
                    [this, host](const ByteText& head) { return reply(HostIndex(host), head); },
                    options_.dribbleMs, options_.latencyMs, &gauge_);
        });
    }
    return true;
}

ByteText DemoServer::hostString(HostIndex host) const {
    return "127.0.0.1:" + ByteText::number(port(host));
}

ByteText DemoServer::sitesProfile() const {
    const ByteText scheme = options_.tls ? "https://" : "";
    ByteText out = "[Sites]\r\n";
    for (int host = Newspaper; host <= Update; ++host)
        out += ByteText(HostKeys[host]) + "=" + scheme + hostString(HostIndex(host)) + "\r\n";
    // The program's home page lives on the update server, as on the real one.
    out += "HomePage=" + scheme + hostString(Update) + "\r\n";
    if (options_.tls)
        out += "CaFile=" + cp1251::fromUnicode(options_.caFile) + "\r\n";
    out += "[Demo]\r\nProxy=" + hostString(Proxy) + "\r\n";
    return out;
}

Site* DemoServer::site(HostIndex host) const {
    switch (host) {
    case Newspaper:
        return newspaper_.get();
    case MagazineArchive:
        return archive_.get();
    case MagazineMain:
        return main_.get();
    case Update:
        return update_.get();
    default:
        return nullptr;
    }
}

std::optional<DemoServer::HostIndex> DemoServer::loopbackHost(const ByteText& host) const {
    const HostPort split = SplitHost(host);
    for (int index = Newspaper; index <= Update; ++index)
        if (split.port == port(HostIndex(index)) &&
            (split.name == "127.0.0.1" || split.name == "localhost"))
            return HostIndex(index);
    return std::nullopt;
}

Site* DemoServer::siteForHost(const ByteText& host) const {
    // By our own ports first (the program names hosts "127.0.0.1:port"),
    // then by the public names, so a client left at its defaults is served.
    const HostPort split = SplitHost(host);
    if (std::optional<HostIndex> index = loopbackHost(host))
        return site(*index);
    const HostNames publicNames = HostNames::publicNames();
    const ByteText name = split.port == 80 ? split.name : host;
    if (name == publicNames.newspaper)
        return newspaper_.get();
    if (name == publicNames.archive)
        return archive_.get();
    if (name == publicNames.main)
        return main_.get();
    if (name == publicNames.update || name == Sites().HomePage)
        return update_.get();
    return nullptr;
}

bool DemoServer::proxyAuthorised(const Request& request) const {
    if (options_.proxyCredentials.isEmpty())
        return true;
    return request.header("Proxy-Authorization") == "Basic " + options_.proxyCredentials.toBase64();
}

Reply DemoServer::reply(HostIndex host, const ByteText& head) {
    log_.record(head);
    std::optional<Request> request = parseRequest(head);
    Reply result;
    if (!request)
        result.response = Response::make(400, "text/plain", "malformed request\r\n");
    else if (request->method == "CONNECT" && host == Proxy)
        result = tunnelReply(*request);
    else if (request->method != "GET")
        result.response = Response::make(405, "text/plain", "only GET is served\r\n");
    else if (host == Proxy)
        result = proxyReply(*request);
    else
        result = siteReply(site(host), *request);
    if (options_.verbose) {
        std::fprintf(stderr, "%s %s -> %d\n", HostKeys[host],
                     request ? request->target.constData() : "(malformed)", result.response.status);
        std::fflush(stderr);
    }
    return result;
}

Reply DemoServer::proxyReply(const Request& request) {
    if (!request.absolute())
        return {Response::make(400, "text/plain", "a proxy request names its URI in full\r\n")};
    if (!proxyAuthorised(request))
        return {proxyChallenge(options_)};
    Site* target = siteForHost(request.uriHost);
    if (!target)
        return {Response::make(502, "text/plain", "unknown host " + request.uriHost + "\r\n")};
    return siteReply(target, request);
}

// A tunnel to one of the hosts' loopback ports; the host behind it sees the
// client's own requests (and applies the fault rules to them).
Reply DemoServer::tunnelReply(const Request& request) {
    if (!proxyAuthorised(request))
        return {proxyChallenge(options_)};
    const std::optional<HostIndex> target = loopbackHost(request.uriHost);
    if (!target)
        return {Response::make(502, "text/plain", "no tunnel to " + request.uriHost + "\r\n")};
    Reply reply;
    reply.delivery = Delivery::Tunnel;
    reply.tunnelPort = port(*target);
    return reply;
}

Reply DemoServer::siteReply(Site* target, const Request& request) {
    const ByteText path =
        request.query.isEmpty() ? request.path : request.path + "?" + request.query;
    Reply result;
    std::optional<Fault> fault = options_.faults.take(target->hostKey(), path);
    if (!fault) {
        result.response = target->answer(request);
        return result;
    }
    switch (*fault) {
    case Fault::NotFound:
        result.response = Response::notFound();
        break;
    case Fault::ProxyAuth:
        result.response = proxyChallenge(options_);
        break;
    case Fault::ServerError:
        result.response = Response::make(500, "text/html",
                                         "<html><body><h1>500 Internal Server Error</h1>"
                                         "</body></html>\r\n");
        break;
    case Fault::Redirect:
        result.response = Response::make(302, "text/html", "<html><body>Moved</body></html>\r\n");
        result.response.addHeader("Location",
                                  context_->loopback.address(SiteContext::requestedHost(request)) +
                                      "/moved" + request.path);
        break;
    case Fault::Http11:
        result.response = target->answer(request);
        result.response.version = "HTTP/1.1";
        break;
    case Fault::ResetUnsized:
        result.response = target->answer(request);
        result.response.withLength = false;
        result.delivery = Delivery::Reset;
        break;
    case Fault::Chunked:
        result.response = target->answer(request);
        result.response.version = "HTTP/1.1";
        result.response.addHeader("Transfer-Encoding", "chunked");
        result.response.withLength = false;
        result.response.body = chunkedFraming(result.response.body);
        break;
    case Fault::Long:
        result.response = target->answer(request);
        result.response.overrun = "\r\n<!-- past Content-Length -->\r\n";
        break;
    case Fault::NoStatus:
        result.response = target->answer(request);
        result.delivery = Delivery::BodyOnly;
        break;
    case Fault::Empty:
        result.response = target->answer(request);
        result.response.body.clear();
        break;
    case Fault::Partial:
        result.response = target->answer(request);
        result.response.status = 206;
        result.response.reason = "Partial Content";
        result.response.addHeader("Content-Range",
                                  "bytes 0-" + ByteText::number(result.response.body.size() - 1) +
                                      "/" + ByteText::number(result.response.body.size()));
        break;
    case Fault::LengthNegative:
    case Fault::LengthText:
    case Fault::LengthHuge:
        result.response = target->answer(request);
        result.response.withLength = false;
        result.response.addHeader("Content-Length", *fault == Fault::LengthNegative ? "-1"
                                                    : *fault == Fault::LengthText
                                                        ? "many"
                                                        : "18014398509481984");
        break;
    default:
        result.response = target->answer(request);
        result.delivery = *fault == Fault::Close     ? Delivery::Close
                          : *fault == Fault::Silent  ? Delivery::Silent
                          : *fault == Fault::Reset   ? Delivery::Reset
                          : *fault == Fault::Dribble ? Delivery::Dribble
                          : *fault == Fault::Endless ? Delivery::Endless
                                                     : Delivery::SplitHeader;
        break;
    }
    return result;
}

#include "moc_demo_server.cpp"
