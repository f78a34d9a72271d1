#include "tools/demosite/connection.h"

#include <QTcpSocket>
#include <sys/socket.h>

namespace {

// An endless body is fed in pieces of this size while the client keeps up.
constexpr qsizetype EndlessPiece = 4096;

} // namespace

Connection::Connection(QTcpSocket* socket, Handler handler, int dribbleMs)
    : QObject(socket), socket_(socket), handler_(std::move(handler)), dribbleMs_(dribbleMs) {
    socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    connect(socket_, &QTcpSocket::readyRead, this, &Connection::readHead);
    connect(socket_, &QTcpSocket::disconnected, socket_, &QObject::deleteLater);
    connect(&pieceTimer_, &QTimer::timeout, this, &Connection::writeNextPiece);
    readHead();
}

void Connection::readHead() {
    const ByteText bytes = socket_->readAll();
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
    send(handler_(received_.left(length)));
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
        connect(socket_, &QTcpSocket::bytesWritten, this, [this] {
            if (socket_->bytesToWrite() == 0 && !resetScheduled_) {
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
    case Delivery::Endless: {
        ByteText endlessHead = reply.response.version + " 200 OK\r\nServer: norvel-demosite\r\n"
                                                        "Content-Type: text/html\r\n\r\n";
        socket_->write(endlessHead + body);
        connect(socket_, &QTcpSocket::bytesWritten, this, &Connection::feedEndless);
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

void Connection::feedEndless() {
    if (socket_->bytesToWrite() > EndlessPiece ||
        socket_->state() != QAbstractSocket::ConnectedState)
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
