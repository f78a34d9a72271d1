#include "tools/demosite/connection.h"

#include <QHostAddress>
#include <QSslSocket>
#include <QTcpSocket>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// An endless body is fed in pieces of this size while the client keeps up.
constexpr qsizetype EndlessPiece = 4096;

// Whether the connection behind a descriptor was reset (rather than closed).
bool WasReset(int descriptor) {
    tcp_info info{};
    socklen_t size = sizeof info;
    return descriptor >= 0 && ::getsockopt(descriptor, IPPROTO_TCP, TCP_INFO, &info, &size) == 0 &&
           info.tcpi_state == TCP_CLOSE;
}

} // namespace

Connection::Connection(QTcpSocket* socket, Handler handler, int dribbleMs, int latencyMs,
                       ConnectionGauge* gauge)
    : QObject(socket), socket_(socket), handler_(std::move(handler)), dribbleMs_(dribbleMs),
      latencyMs_(latencyMs), gauge_(gauge) {
    if (gauge_ && ++gauge_->open > gauge_->peak) {
        gauge_->peak = gauge_->open;
        if (gauge_->peakRaised)
            gauge_->peakRaised(gauge_->peak);
    }
    socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    connect(socket_, &QTcpSocket::disconnected, socket_, &QObject::deleteLater);
    connect(&pieceTimer_, &QTimer::timeout, this, &Connection::writeNextPiece);
    const auto startReading = [this] {
        connect(socket_, &QTcpSocket::readyRead, this, &Connection::readHead);
        readHead();
    };
    // The handshake's round trip.
    if (latencyMs_ > 0)
        QTimer::singleShot(latencyMs_, this, startReading);
    else
        startReading();
}

Connection::~Connection() {
    if (gauge_)
        --gauge_->open;
}

void Connection::readHead() {
    const ByteText bytes = socket_->readAll();
    if (upstream_)
        upstream_->write(bytes);
    if (answered_)
        return;
    received_ += bytes;
    qsizetype length = completeHeadLength(received_);
    if (length == 0 && received_.size() > MaxRequestHead) {
        answered_ = true;
        Reply reply{Response::make(400, "text/plain", "request head too long\r\n"),
                    Delivery::Normal};
        send(reply);
        return;
    }
    if (length == 0)
        return;
    answered_ = true;
    const Reply reply = handler_(received_.left(length));
    // The request's round trip.
    if (latencyMs_ > 0 && reply.delivery != Delivery::Tunnel)
        QTimer::singleShot(latencyMs_, this, [this, reply] { send(reply); });
    else
        send(reply);
}

void Connection::send(const Reply& reply) {
    delivery_ = reply.delivery;
    const ByteText head = reply.response.headBytes();
    const ByteText& body = reply.response.body;
    switch (reply.delivery) {
    case Delivery::Normal:
        socket_->write(head + body + reply.response.overrun);
        finish();
        return;
    case Delivery::BodyOnly:
        socket_->write(body);
        finish();
        return;
    case Delivery::Close:
        finish();
        return;
    case Delivery::Silent:
        return; // the socket stays open until the client gives up
    case Delivery::Reset:
        socket_->write(head + body.left(body.size() / 2));
        whenWritten([this] {
            if (unsent() == 0 && !resetScheduled_) {
                resetScheduled_ = true;
                QTimer::singleShot(100, this, &Connection::finishReset);
            }
        });
        return;
    case Delivery::Dribble:
        pending_ = head + body;
        pieceLimit_ = pending_.size();
        pieceTimer_.start(dribbleMs_);
        return;
    case Delivery::SplitHeader:
        pending_ = head + body;
        pieceLimit_ = head.size();
        pieceTimer_.start(1);
        return;
    case Delivery::Tunnel:
        openTunnel(reply.tunnelPort);
        return;
    case Delivery::Endless: {
        ByteText endlessHead = reply.response.version + " 200 OK\r\nServer: norvel-demosite\r\n"
                                                        "Content-Type: text/html\r\n\r\n";
        socket_->write(endlessHead + body);
        whenWritten([this] { feedEndless(); });
        return;
    }
    }
}

// Dribble and split-header: one byte per timer tick while pieceLimit_ lasts,
// then the rest at once.
void Connection::writeNextPiece() {
    if (socket_->state() != QAbstractSocket::ConnectedState) {
        pieceTimer_.stop();
        return;
    }
    if (pending_.isEmpty()) {
        pieceTimer_.stop();
        finish();
        return;
    }
    if (pieceLimit_ > 0) {
        socket_->write(pending_.left(1));
        pending_.remove(0, 1);
        socket_->flush();
        --pieceLimit_;
        return;
    }
    socket_->write(pending_);
    pending_.clear();
}

void Connection::finishReset() {
    // A zero linger time turns the close into a reset (RST) instead of FIN.
    struct linger hard {
        1, 0
    };
    ::setsockopt(int(socket_->socketDescriptor()), SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    socket_->abort();
    socket_->deleteLater();
}

// Calls then each time written bytes go on (over TLS: as plain bytes are
// encrypted and as encrypted bytes leave).
void Connection::whenWritten(const std::function<void()>& then) {
    connect(socket_, &QTcpSocket::bytesWritten, this, then);
    if (auto* tls = qobject_cast<QSslSocket*>(socket_))
        connect(tls, &QSslSocket::encryptedBytesWritten, this, then);
}

// Bytes written but not yet on the wire: over TLS the encrypted ones too,
// which the TLS socket reports as written long before they go out.
qint64 Connection::unsent() const {
    const auto* tls = qobject_cast<const QSslSocket*>(socket_);
    return socket_->bytesToWrite() + (tls ? tls->encryptedBytesToWrite() : 0);
}

void Connection::feedEndless() {
    if (unsent() > EndlessPiece || socket_->state() != QAbstractSocket::ConnectedState)
        return;
    static const ByteText piece = [] {
        ByteText text;
        while (text.size() < EndlessPiece)
            text += "<p>... and so on, and so on, and so on ...</p>\r\n";
        return text;
    }();
    socket_->write(piece);
}

void Connection::finish() {
    socket_->disconnectFromHost();
}

void Connection::openTunnel(quint16 port) {
    upstream_ = new QTcpSocket(this);
    connect(upstream_, &QTcpSocket::connected, this, [this] {
        upstreamWatch_ = ::fcntl(int(upstream_->socketDescriptor()), F_DUPFD_CLOEXEC, 0);
        socket_->write("HTTP/1.0 200 Connection established\r\n\r\n");
        // Bytes the client sent behind its request head go on through.
        upstream_->write(received_.mid(completeHeadLength(received_)));
    });
    connect(upstream_, &QTcpSocket::readyRead, this,
            [this] { socket_->write(upstream_->readAll()); });
    connect(upstream_, &QTcpSocket::errorOccurred, this, &Connection::closeTunnel);
    connect(upstream_, &QTcpSocket::disconnected, this, &Connection::closeTunnel);
    connect(socket_, &QTcpSocket::disconnected, upstream_, &QTcpSocket::disconnectFromHost);
    upstream_->connectToHost(QHostAddress::LocalHost, port);
}

// The far side has ended: the client's side ends the same way.
void Connection::closeTunnel() {
    upstream_->disconnect(this);
    if (upstreamWatch_ < 0) {
        // It never connected.
        const Response refusal = Response::make(502, "text/plain", "tunnel target unreachable\r\n");
        socket_->write(refusal.headBytes() + refusal.body);
        finish();
        return;
    }
    socket_->write(upstream_->readAll());
    const bool reset = WasReset(upstreamWatch_);
    ::close(upstreamWatch_);
    upstreamWatch_ = -1;
    if (reset)
        QTimer::singleShot(100, this, &Connection::finishReset);
    else
        finish();
}

#include "moc_connection.cpp"
