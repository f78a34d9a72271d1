#pragma once
// One client of the catalogue: reads the request head, answers it (a file
// in pieces as the socket drains) and closes. Deletes itself at the end and
// says so through finished.

#include "archive/catalogue_routes.h"

#include <QFile>
#include <QObject>
#include <QTimer>

class QTcpSocket;

class CatalogueConnection : public QObject {
    Q_OBJECT
public:
    CatalogueConnection(QTcpSocket* socket, const QString& downloadFolder);

Q_SIGNALS:
    void finished();

private:
    void readHead();
    void answer(const QByteArray& head);
    void sendMore();
    void end();

    QTcpSocket* socket_;
    QString folder_;
    QByteArray head_;
    QFile file_;
    QTimer deadline_;
    bool answered_ = false;
    bool ended_ = false;
};
