#include "archive/catalogue_connection.h"

#include "archive/catalogue_server.h"

#include <QTcpSocket>
#include <sys/socket.h>

namespace {

constexpr qint64 PieceBytes = 64 * 1024;

} // namespace

CatalogueConnection::CatalogueConnection(QTcpSocket* socket, const QString& downloadFolder,
                                         int stallLimitMs)
    : CatalogueConnection(socket, downloadFolder, stallLimitMs, std::nullopt) {}

CatalogueConnection::CatalogueConnection(QTcpSocket* socket, const CatalogueReply& refusal,
                                         int stallLimitMs)
    : CatalogueConnection(socket, QString(), stallLimitMs, refusal) {}

CatalogueConnection::CatalogueConnection(QTcpSocket* socket, const QString& downloadFolder,
                                         int stallLimitMs,
                                         const std::optional<CatalogueReply>& refusal)
    : socket_(socket), folder_(downloadFolder), stallLimitMs_(stallLimitMs) {
    socket_->setParent(this);
    connect(socket_, &QTcpSocket::readyRead, this, &CatalogueConnection::readHead);
    connect(socket_, &QTcpSocket::bytesWritten, this, &CatalogueConnection::sendMore);
    connect(socket_, &QTcpSocket::disconnected, this, &CatalogueConnection::end);
    connect(socket_, &QTcpSocket::errorOccurred, this, &CatalogueConnection::end);
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, this, &CatalogueConnection::end);
    deadline_.start(CatalogueServer::HeadTimeoutMs);
    if (refusal)
        send(*refusal);
    else
        readHead();
}

void CatalogueConnection::readHead() {
    if (answered_) {
        socket_->readAll(); // what follows the request is not read
        return;
    }
    head_ += socket_->readAll();
    const qsizetype end = RequestHeadEnd(head_);
    if (end >= 0 && end <= CatalogueServer::MaxHeadBytes)
        answer(head_.left(end));
    else if (head_.size() > CatalogueServer::MaxHeadBytes)
        send(StatusReply(431, "Request Header Fields Too Large"));
}

void CatalogueConnection::answer(const QByteArray& head) {
    const std::optional<CatalogueRequest> request = ParseRequestHead(head);
    if (!request) {
        CatalogueReply refusal = StatusReply(400, "Bad Request");
        refusal.headOnly = head.startsWith("HEAD "); // whatever else is wrong with it
        send(refusal);
        return;
    }
    CatalogueReply reply =
        ApplyConditions(*request, AnswerCatalogueRequest(request->method, request->target, folder_,
                                                         request->header("host")));
    reply.headOnly = request->method == "HEAD" || reply.status == 304;
    if (!reply.file.isEmpty() && !reply.headOnly) {
        file_.setFileName(reply.file);
        if (!file_.open(QIODevice::ReadOnly) || !file_.seek(reply.offset))
            reply = StatusReply(404, "Not Found");
        else
            fileLeft_ = reply.size;
    }
    send(reply);
}

// The head and a body in memory go at once; a file follows piece by piece.
void CatalogueConnection::send(const CatalogueReply& reply) {
    answered_ = true;
    socket_->write(reply.file.isEmpty() ? ReplyBytes(reply) : ReplyHeader(reply));
    sendMore();
}

// The next piece of the file once the socket has sent most of the last;
// the connection closes when everything is on its way. Each call is
// progress, so the stall limit starts again.
void CatalogueConnection::sendMore() {
    if (!answered_ || lingering_ || ended_)
        return;
    deadline_.start(stallLimitMs_);
    if (fileLeft_ > 0 && file_.isOpen()) {
        if (socket_->bytesToWrite() < PieceBytes) {
            const QByteArray piece = file_.read(qMin(PieceBytes, fileLeft_));
            if (piece.isEmpty()) { // the file shrank under us: the answer cannot be whole
                end();
                return;
            }
            fileLeft_ -= piece.size();
            socket_->write(piece);
        }
        return;
    }
    if (socket_->bytesToWrite() == 0)
        linger();
}

void CatalogueConnection::linger() {
    lingering_ = true;
    file_.close();
    ::shutdown(int(socket_->socketDescriptor()), SHUT_WR);
    socket_->readAll();
    deadline_.start(qMin(LingerMs, stallLimitMs_));
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
