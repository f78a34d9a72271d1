#include "catalogue/connection.h"

#include "catalogue/books.h"
#include "catalogue/server.h"

#include <QTcpSocket>
#include <sys/socket.h>

namespace {

constexpr qint64 PieceBytes = 64 * 1024;

} // namespace

CatalogueConnection::CatalogueConnection(QTcpSocket* socket, CatalogueIndex& index,
                                         CatalogueBooks& books, int stallLimitMs)
    : CatalogueConnection(socket, &index, &books, stallLimitMs, std::nullopt) {}

CatalogueConnection::CatalogueConnection(QTcpSocket* socket, const CatalogueReply& refusal,
                                         int stallLimitMs)
    : CatalogueConnection(socket, nullptr, nullptr, stallLimitMs, refusal) {}

CatalogueConnection::CatalogueConnection(QTcpSocket* socket, CatalogueIndex* index,
                                         CatalogueBooks* books, int stallLimitMs,
                                         const std::optional<CatalogueReply>& refusal)
    : socket_(socket), index_(index), books_(books), stallLimitMs_(stallLimitMs) {
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
    answer(*request);
}

void CatalogueConnection::answer(const CatalogueRequest& request) {
    CatalogueReply reply =
        ApplyConditions(request, AnswerCatalogueRequest(request.method, request.target, *index_,
                                                        request.header("host")));
    if (!reply.bookToMake.isEmpty()) {
        if (!awaitedBook_.isEmpty()) { // made, yet not there
            reply = StatusReply(500, "Internal Server Error");
        } else {
            answered_ = true;
            request_ = request;
            awaitedBook_ = reply.bookToMake;
            deadline_.start(BookWaitMs);
            connect(books_, &CatalogueBooks::made, this, &CatalogueConnection::bookMade);
            books_->request(awaitedBook_);
            return;
        }
    }
    reply.headOnly = request.method == "HEAD" || reply.status == 304;
    if (!reply.file.isEmpty() && !reply.headOnly) {
        file_.setFileName(reply.file);
        if (!file_.open(QIODevice::ReadOnly) || !file_.seek(reply.offset))
            reply = StatusReply(404, "Not Found");
        else
            fileLeft_ = reply.size;
    }
    send(reply);
}

// The book this client waits for is made (or not): it gets the book as if
// it had been there, or the reason it is not.
void CatalogueConnection::bookMade(const QString& issueFolder, bool written, const QString& error) {
    if (issueFolder != awaitedBook_ || ended_)
        return;
    disconnect(books_, &CatalogueBooks::made, this, &CatalogueConnection::bookMade);
    if (written) {
        answer(request_);
        return;
    }
    CatalogueReply refusal = StatusReply(500, "Internal Server Error");
    refusal.body = QStringLiteral("Книгу номера не удалось создать: %1\n").arg(error).toUtf8();
    refusal.size = refusal.body.size();
    refusal.headOnly = request_.method == "HEAD";
    send(refusal);
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

// Once the answer is out the client holds no place: what is left is
// reading what it still sends, for a moment at most.
void CatalogueConnection::linger() {
    lingering_ = true;
    Q_EMIT finished();
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
    if (!lingering_)
        Q_EMIT finished();
    deleteLater();
}

#include "moc_connection.cpp"
