#include "net/fetch_connection.h"

#include "net/secure_errors.h"
#include "net/status_line.h"

#include <QNetworkProxy>
#include <QSslSocket>
#include <QTcpSocket>
#include <sys/socket.h>
#include <utility>

namespace {

bool IsTlsError(QAbstractSocket::SocketError code) {
    return code == QAbstractSocket::SslHandshakeFailedError ||
           code == QAbstractSocket::SslInternalError ||
           code == QAbstractSocket::SslInvalidUserDataError;
}

} // namespace

FetchConnection::FetchConnection(ConnectionPlan plan, QObject* parent)
    : QObject(parent), plan_(std::move(plan)) {
    if (plan_.secure) {
        auto* tls = new QSslSocket(this);
        tls->setSslConfiguration(plan_.tls.value_or(QSslConfiguration()));
        tls->setPeerVerifyName(plan_.verifyName);
        // Kept for the reason; not ignoring them makes the socket give up.
        connect(tls, &QSslSocket::sslErrors, this,
                [this](const QList<QSslError>& errors) { certificateErrors_ = errors; });
        connect(tls, &QSslSocket::encrypted, this, [this] {
            stage_ = Stage::Open;
            Q_EMIT activity();
            Q_EMIT ready();
        });
        connect(tls, &QSslSocket::encryptedBytesWritten, this, &FetchConnection::activity);
        socket_ = tls;
    } else {
        socket_ = new QTcpSocket(this);
    }
    // The control goes through a proxy by its own settings; the toolkit's
    // proxy choice (asked afresh for every connection) has no say.
    socket_->setProxy(QNetworkProxy::NoProxy);
    connect(socket_, &QTcpSocket::connected, this, &FetchConnection::onConnected);
    connect(socket_, &QTcpSocket::readyRead, this, &FetchConnection::onReadyRead);
    connect(socket_, &QTcpSocket::bytesWritten, this, &FetchConnection::activity);
    connect(socket_, &QTcpSocket::disconnected, this, &FetchConnection::onClosed);
    connect(socket_, &QTcpSocket::errorOccurred, this, &FetchConnection::onError);
}

FetchConnection::~FetchConnection() = default;

void FetchConnection::open() {
    if (plan_.secure && !QSslSocket::supportsSsl()) {
        // Reported from the event loop, as every other outcome is.
        QMetaObject::invokeMethod(
            this, [this] { Q_EMIT secureFailed(secure_reason::NoTlsLibrary()); },
            Qt::QueuedConnection);
        return;
    }
    socket_->connectToHost(QString::fromLatin1(plan_.name), plan_.port);
}

void FetchConnection::write(const ByteText& bytes) {
    const qsizetype sent = plan_.secure ? 0 : sendNow(bytes);
    if (sent < bytes.size())
        socket_->write(bytes.mid(sent));
    else
        Q_EMIT activity();
}

// A plain request (a few hundred bytes on a fresh connection) goes straight
// into the system's send buffer. Through the socket's own buffer it would
// wait for a turn of the event loop and cost two more wake-ups of it. What
// the system does not take now (none of it on an error) is left to the
// socket, which then reports any failure as it always does.
qsizetype FetchConnection::sendNow(const ByteText& bytes) {
    if (socket_->bytesToWrite() > 0 || socket_->state() != QAbstractSocket::ConnectedState)
        return 0;
    const ssize_t sent = ::send(int(socket_->socketDescriptor()), bytes.constData(),
                                size_t(bytes.size()), MSG_NOSIGNAL | MSG_DONTWAIT);
    return sent > 0 ? qsizetype(sent) : 0;
}

ByteText FetchConnection::readAll() {
    ByteText bytes = std::exchange(refusal_, {});
    if (stage_ == Stage::Open || stage_ == Stage::Refused)
        bytes += socket_->readAll();
    return bytes;
}

void FetchConnection::abort() {
    socket_->disconnect(this);
    disconnect();
    socket_->abort();
    end_.release();
}

void FetchConnection::onConnected() {
    // The second descriptor is taken before any TLS record, so a reset is
    // told from a close over TLS as over plain TCP.
    end_.watch(socket_->socketDescriptor());
    Q_EMIT activity();
    if (!plan_.tunnelRequest.isEmpty()) {
        stage_ = Stage::Tunnelling;
        tunnelBytes_ += plan_.tunnelRequest.size();
        socket_->write(plan_.tunnelRequest);
    } else if (plan_.secure) {
        startHandshake();
    } else {
        stage_ = Stage::Open;
        Q_EMIT ready();
    }
}

void FetchConnection::startHandshake() {
    stage_ = Stage::Handshake;
    static_cast<QSslSocket*>(socket_)->startClientEncryption();
}

void FetchConnection::onReadyRead() {
    switch (stage_) {
    case Stage::Tunnelling:
        readTunnelAnswer();
        return;
    case Stage::Open:
    case Stage::Refused:
        Q_EMIT readyRead();
        return;
    case Stage::Connecting:
    case Stage::Handshake:
        return;
    }
}

void FetchConnection::readTunnelAnswer() {
    tunnelAnswer_ += socket_->readAll();
    Q_EMIT activity();
    const qsizetype headEnd = tunnelAnswer_.indexOf("\r\n\r\n");
    if (headEnd < 0 && tunnelAnswer_.size() <= MaxTunnelAnswer)
        return;
    if (headEnd < 0 || !IsSuccessStatus(tunnelAnswer_)) {
        stage_ = Stage::Refused;
        refusal_ = std::exchange(tunnelAnswer_, {});
        Q_EMIT readyRead();
        return;
    }
    // The site speaks first inside the tunnel only after our TLS hello.
    if (tunnelAnswer_.size() > headEnd + 4) {
        Q_EMIT secureFailed(secure_reason::TunnelBroken());
        return;
    }
    tunnelBytes_ += tunnelAnswer_.size();
    tunnelAnswer_.clear();
    startHandshake();
}

void FetchConnection::onError(QAbstractSocket::SocketError code) {
    if (stage_ == Stage::Handshake && (IsTlsError(code) || !certificateErrors_.isEmpty())) {
        Q_EMIT secureFailed(handshakeFailure(secure_reason::HandshakeFailed()));
        return;
    }
    // The peer's close, orderly or a reset: the end of the answer, judged by
    // what arrived.
    if (code == QAbstractSocket::RemoteHostClosedError) {
        onClosed();
        return;
    }
    Q_EMIT failed(code, socket_->errorString());
}

void FetchConnection::onClosed() {
    switch (stage_) {
    case Stage::Handshake:
        Q_EMIT secureFailed(handshakeFailure(secure_reason::HandshakeCut()));
        return;
    case Stage::Tunnelling:
        // Whatever the proxy said before it closed is its answer.
        stage_ = Stage::Refused;
        refusal_ = std::exchange(tunnelAnswer_, {});
        break;
    case Stage::Connecting:
    case Stage::Open:
    case Stage::Refused:
        break;
    }
    Q_EMIT closed();
}

QString FetchConnection::handshakeFailure(const QString& otherwise) const {
    return certificateErrors_.isEmpty()
               ? otherwise
               : CertificateFailureReason(certificateErrors_, plan_.verifyName);
}

#include "moc_fetch_connection.cpp"
