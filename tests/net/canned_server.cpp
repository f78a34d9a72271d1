#include "tests/net/canned_server.h"

#include <QHostAddress>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>
#include <memory>

CannedServer::CannedServer() {
    listen(QHostAddress::LocalHost, 0);
    connect(this, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = nextPendingConnection())
            serve(socket);
    });
}

void CannedServer::serve(QTcpSocket* socket) {
    ++connections;
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    struct Incoming {
        QByteArray bytes;
        bool complete = false;
    };
    auto incoming = std::make_shared<Incoming>();
    connect(socket, &QTcpSocket::readyRead, this, [this, socket, incoming] {
        incoming->bytes += socket->readAll();
        if (incoming->complete || !incoming->bytes.contains("\r\n\r\n"))
            return;
        incoming->complete = true;
        requests.append(incoming->bytes);
        if (mode == Mode::Silent)
            return;
        QPointer<QTcpSocket> alive(socket);
        QTimer::singleShot(delayMs, this, [this, alive] {
            if (alive)
                answer(alive);
        });
    });
}

void CannedServer::answer(QTcpSocket* socket) {
    if (chunkSize <= 0) {
        socket->write(reply);
        socket->disconnectFromHost();
        return;
    }
    // One piece per timer tick, so the client really sees them apart.
    auto offset = std::make_shared<qsizetype>(0);
    auto* pump = new QTimer(socket);
    connect(pump, &QTimer::timeout, socket, [this, socket, pump, offset] {
        socket->write(reply.mid(*offset, chunkSize));
        socket->flush();
        *offset += chunkSize;
        if (*offset >= reply.size()) {
            pump->stop();
            socket->disconnectFromHost();
        }
    });
    pump->start(intervalMs);
}
