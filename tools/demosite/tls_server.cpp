#include "tools/demosite/tls_server.h"

#include <QSslSocket>

TlsServer::TlsServer(const QSslConfiguration& configuration, QObject* parent)
    : QTcpServer(parent), configuration_(configuration) {}

void TlsServer::incomingConnection(qintptr descriptor) {
    auto* socket = new QSslSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
        delete socket;
        return;
    }
    socket->setSslConfiguration(configuration_);
    // A client that refuses the certificate ends the handshake; the socket
    // then closes and its connection goes with it.
    socket->startServerEncryption();
    addPendingConnection(socket);
}

#include "moc_tls_server.cpp"
