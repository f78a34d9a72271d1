#pragma once
// One client of the catalogue: reads the request head, answers it (a file
// in pieces as the socket drains) and closes. A client that takes in
// nothing of the answer for the server's stall limit is dropped, so a
// reader that never reads holds no place for good. Once the answer is out
// the connection says so (a half close) and reads whatever the client
// still sends for a moment before it closes: a socket closed with unread
// bytes resets the connection, and the client may lose the answer with it.
// Its place is free (finished) once the answer is out; it deletes itself at
// the end.

#include "catalogue/http.h"
#include "catalogue/index.h"

#include <QFile>
#include <QObject>
#include <QTimer>

class CatalogueBooks;
class QTcpSocket;

class CatalogueConnection : public QObject {
    Q_OBJECT
public:
    // LingerMs: how long the client may go on sending once it has its answer;
    // BookWaitMs: how long it waits for a book being made for it.
    static constexpr int LingerMs = 2000;
    static constexpr int BookWaitMs = 600'000;

    // index and books are the server's, shared by its connections.
    CatalogueConnection(QTcpSocket* socket, CatalogueIndex& index, CatalogueBooks& books,
                        int stallLimitMs);
    // A client turned away at once with refusal (the server is full).
    CatalogueConnection(QTcpSocket* socket, const CatalogueReply& refusal, int stallLimitMs);

Q_SIGNALS:
    // The client's place is free: its answer is out, or it is gone.
    void finished();

private:
    CatalogueConnection(QTcpSocket* socket, CatalogueIndex* index, CatalogueBooks* books,
                        int stallLimitMs, const std::optional<CatalogueReply>& refusal);
    void readHead();
    void answer(const QByteArray& head);
    void answer(const CatalogueRequest& request);
    void bookMade(const QString& issueFolder, bool written, const QString& error);
    void send(const CatalogueReply& reply);
    void sendMore();
    void linger();
    void end();

    QTcpSocket* socket_;
    CatalogueIndex* index_;
    CatalogueBooks* books_;
    CatalogueRequest request_;
    QString awaitedBook_; // the issue folder whose book is being made for this client
    int stallLimitMs_;
    QByteArray head_;
    QFile file_;
    qint64 fileLeft_ = 0; // bytes of the file still to send
    QTimer deadline_;     // the head's arrival, then each piece's progress
    bool answered_ = false;
    bool lingering_ = false;
    bool ended_ = false;
};
