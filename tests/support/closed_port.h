#pragma once
// A loopback port nobody listens on: the system hands out a free port, which
// is let go at once, so a connection to it is refused.

#include <QHostAddress>
#include <QTcpServer>

inline quint16 ClosedLocalPort() {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    return server.serverPort();
}
