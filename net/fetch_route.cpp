#include "net/fetch_route.h"

#include "net/request.h"
#include "settings/sites.h"

namespace {

QString Text(const ByteText& bytes) {
    return cp1251::toUnicode(bytes);
}

// The proxy port as a number, or 0 when it is none.
quint16 PortNumber(const ByteText& port) {
    bool ok = false;
    uint n = port.trimmed().toUInt(&ok);
    return ok && n > 0 && n < 65536 ? quint16(n) : 0;
}

} // namespace

bool FetchRoute::secure() const {
    return ParseHostEntry(host_).secure();
}

void FetchRoute::useProxy(const ByteText& name, const ByteText& port, bool on) {
    proxyOn_ = on;
    if (on) {
        proxyName_ = name;
        proxyPort_ = port;
    }
}

QString FetchRoute::proxyAddress() const {
    return Text(proxyName_) + ":" + Text(proxyPort_);
}

void FetchRoute::authorise(const ByteText& login, const ByteText& password, bool on) {
    proxyAuthOn_ = on;
    if (!on)
        return;
    const ProxyCredentials credentials(login, password);
    if (!(credentials == proxyCredentials_))
        utf8Credentials_ = false;
    proxyCredentials_ = credentials;
}

bool FetchRoute::switchCredentialForm() {
    if (!proxyAuthOn_ || !proxyCredentials_.HasUtf8Form())
        return false;
    utf8Credentials_ = !utf8Credentials_;
    return true;
}

void FetchRoute::takeSettingsOf(const FetchRoute& lead) {
    host_ = lead.host_;
    proxyOn_ = lead.proxyOn_;
    proxyName_ = lead.proxyName_;
    proxyPort_ = lead.proxyPort_;
    proxyAuthOn_ = lead.proxyAuthOn_;
    proxyCredentials_ = lead.proxyCredentials_;
    utf8Credentials_ = lead.utf8Credentials_;
    tls_.setCaFile(lead.tls_.caFile());
}

ByteText FetchRoute::proxyToken() const {
    return utf8Credentials_ && proxyCredentials_.HasUtf8Form() ? proxyCredentials_.Utf8Token()
                                                               : proxyCredentials_.Token();
}

ByteText FetchRoute::requestFor(const ByteText& path) const {
    const HostEntry entry = ParseHostEntry(host_);
    // A TLS site behind the proxy is reached through a tunnel: the proxy
    // never reads the request, so it has the direct form and keeps the
    // proxy's credentials (sent with the CONNECT) from the site.
    const bool tunnelled = proxyOn_ && entry.secure();
    RequestTarget target;
    target.host = entry.host;
    target.scheme = entry.scheme;
    target.path = path;
    target.viaProxy = proxyOn_ && !tunnelled;
    target.proxyAuthorization = proxyAuthOn_ && !tunnelled;
    target.proxyCredentials = proxyToken();
    return BuildRequest(target);
}

RoutePlan FetchRoute::plan() {
    RoutePlan route;
    const HostEntry entry = ParseHostEntry(host_);
    // The host goes into the request's header lines as it is.
    if (!entry.valid || !IsPlainHost(host_)) {
        route.failure = QStringLiteral("Недопустимое имя сервера: ") + Text(host_).simplified();
        return route;
    }
    const HostPort site = SplitHost(host_);
    ConnectionPlan plan;
    plan.secure = entry.secure();
    plan.verifyName = Text(site.name);
    if (proxyOn_) {
        route.connecting = QStringLiteral("Proxy connect %1...").arg(proxyAddress());
        plan.name = proxyName_;
        plan.port = PortNumber(proxyPort_);
        if (plan.port == 0) {
            route.failure = QStringLiteral("Неверный порт прокси-сервера: ") + Text(proxyPort_);
            return route;
        }
        if (plan.secure)
            plan.tunnelRequest = BuildConnectRequest(site.name + ":" + ByteText::number(site.port),
                                                     proxyAuthOn_, proxyToken());
    } else {
        if (entry.host.size() > 15)
            route.connecting = QStringLiteral("Соединение с ") + Text(entry.host) + "...";
        else
            route.connecting = QStringLiteral("Подключение к ") + Text(SiteAddress(host_)) + "...";
        plan.name = site.name;
        plan.port = site.port;
    }
    if (plan.secure) {
        std::optional<QSslConfiguration> tls = tls_.configuration(&route.failure);
        if (!tls) {
            route.secureFailure = true;
            return route;
        }
        plan.tls = std::move(tls);
    }
    route.connection = std::move(plan);
    return route;
}
