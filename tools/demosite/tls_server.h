#pragma once
// A listening socket whose connections speak TLS: each accepted connection
// starts the server side of the handshake with the demo certificate and is
// handed out at once; it delivers the decrypted request like a plain socket.

#include <QSslConfiguration>
#include <QTcpServer>

class TlsServer : public QTcpServer {
    Q_OBJECT
public:
    TlsServer(const QSslConfiguration& configuration, QObject* parent);

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    QSslConfiguration configuration_;
};
