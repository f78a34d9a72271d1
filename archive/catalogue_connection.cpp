#include "archive/catalogue_connection.h"

#include "archive/catalogue_server.h"

#include <QTcpSocket>

namespace {

constexpr qint64 PieceBytes = 64 * 1024;

} // namespace

CatalogueConnection::CatalogueConnection(QTcpSocket* socket, const QString& downloadFolder)
    : socket_(socket), folder_(downloadFolder) {
    socket_->setParent(this);
    connect(socket_, &QTcpSocket::readyRead, this, &CatalogueConnection::readHead);
    connect(socket_, &QTcpSocket::bytesWritten, this, &CatalogueConnection::sendMore);
    connect(socket_, &QTcpSocket::disconnected, this, &CatalogueConnection::end);
    connect(socket_, &QTcpSocket::errorOccurred, this, &CatalogueConnection::end);
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, this, &CatalogueConnection::end);
    deadline_.start(CatalogueServer::HeadTimeoutMs);
    readHead();
}

void CatalogueConnection::readHead() {
    if (answered_)
        return;
    head_ += socket_->readAll();
    const qsizetype end = head_.indexOf("\r\n\r\n");
    if (end >= 0) {
        answer(head_.left(end));
    } else if (head_.size() > CatalogueServer::MaxHeadBytes) {
        answered_ = true;
        socket_->write(ReplyHeader(StatusReply(431, "Request Header Fields Too Large")));
        socket_->disconnectFromHost();
    }
}

void CatalogueConnection::answer(const QByteArray& head) {
    answered_ = true;
    deadline_.stop();
    const QList<QByteArray> requestLine = head.left(head.indexOf("\r\n")).split(' ');
    CatalogueReply reply = requestLine.size() == 3
                               ? AnswerCatalogueRequest(requestLine[0], requestLine[1], folder_)
                               : StatusReply(400, "Bad Request");
    if (!reply.file.isEmpty() && !reply.headOnly) {
        file_.setFileName(reply.file);
        if (!file_.open(QIODevice::ReadOnly))
            reply = StatusReply(404, "Not Found");
    }
    socket_->write(ReplyHeader(reply));
    if (!reply.headOnly && reply.file.isEmpty())
        socket_->write(reply.body);
    sendMore();
}

// The next piece of the file once the socket has sent most of the last;
// the connection closes when everything is on its way.
void CatalogueConnection::sendMore() {
    if (!answered_ || ended_)
        return;
    if (file_.isOpen() && !file_.atEnd()) {
        if (socket_->bytesToWrite() < PieceBytes)
            socket_->write(file_.read(PieceBytes));
        return;
    }
    file_.close();
    if (socket_->bytesToWrite() == 0)
        socket_->disconnectFromHost();
}

void CatalogueConnection::end() {
    if (ended_)
        return;
    ended_ = true;
    deadline_.stop();
    socket_->abort();
    Q_EMIT finished();
    deleteLater();
}
