#include "catalogue/server.h"

#include "catalogue/connection.h"
#include "catalogue/feed.h"

#include <QNetworkInterface>
#include <QTcpSocket>

CatalogueServer::CatalogueServer(const QString& downloadFolder, const Sites& sites, QObject* parent)
    : QObject(parent), index_(downloadFolder), books_(sites) {
    connect(&server_, &QTcpServer::newConnection, this, &CatalogueServer::acceptClients);
    connect(&recheck_, &QTimer::timeout, this, [this] { index_.recheckFolders(); });
    recheck_.start(RecheckMs);
}

bool CatalogueServer::listen(quint16 port, const QHostAddress& address) {
    return server_.listen(address, port);
}

void CatalogueServer::acceptClients() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        // Connections go with the server: they use its index and books.
        if (clients_ >= MaxClients) {
            auto* refused = new CatalogueConnection(socket, StatusReply(503, "Service Unavailable"),
                                                    stallLimitMs_);
            refused->setParent(this);
            continue;
        }
        ++clients_;
        auto* connection = new CatalogueConnection(socket, index_, books_, stallLimitMs_);
        connection->setParent(this);
        connect(connection, &CatalogueConnection::finished, this, [this] { --clients_; });
    }
}

QStringList CatalogueServer::addresses() const {
    QStringList lines{QStringLiteral("Каталог слушает порт %1").arg(port())};
    QList<QHostAddress> hosts;
    for (const QHostAddress& host : QNetworkInterface::allAddresses()) {
        if (host.protocol() == QAbstractSocket::IPv4Protocol && !host.isLoopback())
            hosts.append(host);
    }
    if (hosts.isEmpty())
        hosts.append(QHostAddress::LocalHost);
    for (const QHostAddress& host : hosts) {
        const QString root = QStringLiteral("http://%1:%2").arg(host.toString()).arg(port());
        lines.append(QStringLiteral("Каталог для читалки (OPDS): ") + root + FeedPath);
        lines.append(QStringLiteral("Страница для браузера: ") + root + "/");
    }
    return lines;
}
