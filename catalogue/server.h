#pragma once
// The archive's catalogue on the local network (norvel2 --serve): an HTTP
// server on one thread that answers each connection's one request by
// AnswerCatalogueRequest and closes it. At most MaxClients connections are
// served at once (others get 503 at once); a client that has not sent its
// request head within HeadTimeoutMs, or sends a head over MaxHeadBytes, is
// dropped, and so is one that takes in nothing of its answer for the stall
// limit (StallLimitMs unless set); e-books are sent from their files piece
// by piece, never held whole in memory. The archive is read once, when the
// server is made, and followed from then on (CatalogueIndex); a complete
// issue's missing book is made on its first request (CatalogueBooks).

#include "catalogue/books.h"
#include "catalogue/index.h"

#include <QHostAddress>
#include <QObject>
#include <QStringList>
#include <QTcpServer>
#include <QTimer>

class CatalogueServer : public QObject {
public:
    static constexpr int MaxClients = 8;
    static constexpr int HeadTimeoutMs = 30'000;
    static constexpr int MaxHeadBytes = 8192;
    static constexpr int StallLimitMs = 60'000;
    // How often every issue folder is looked at (CatalogueIndex::recheckFolders).
    static constexpr int RecheckMs = 60'000;

    // sites: the hosts the books' links lead to.
    explicit CatalogueServer(const QString& downloadFolder, const Sites& sites = Sites(),
                             QObject* parent = nullptr);

    bool listen(quint16 port, const QHostAddress& address = QHostAddress::Any);
    quint16 port() const { return server_.serverPort(); }
    QString errorString() const { return server_.errorString(); }
    int clients() const { return clients_; }
    void setStallLimit(int ms) { stallLimitMs_ = ms; }

    // Lines for the user: the port, then the feed's and the page's address
    // on each network interface.
    QStringList addresses() const;

private:
    void acceptClients();

    CatalogueIndex index_;
    CatalogueBooks books_;
    QTcpServer server_;
    QTimer recheck_;
    int clients_ = 0;
    int stallLimitMs_ = StallLimitMs;
};
