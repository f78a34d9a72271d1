#pragma once
// A tiny loopback server for byte-level socket tests of the download control:
// it records each request and answers with canned bytes in a chosen way.
// Runs on the test's own thread; its events are served inside Down's wait.

#include <QByteArray>
#include <QList>
#include <QTcpServer>

class CannedServer : public QTcpServer {
public:
    enum class Mode {
        Answer,      // send the reply (in pieces of chunkSize, 0 = at once,
                     // intervalMs apart), then close
        CloseAtOnce, // close without sending a byte
        Silent,      // read the request and never answer
        Endless,     // send the reply, then filler bytes until the peer leaves
    };

    CannedServer();
    quint16 port() const { return serverPort(); }
    QByteArray host() const { return "127.0.0.1:" + QByteArray::number(port()); }

    Mode mode = Mode::Answer;
    QByteArray reply = "HTTP/1.0 200 OK\r\n\r\nhello";
    int chunkSize = 0;
    int intervalMs = 1; // between two pieces
    int delayMs = 0;    // wait before answering

    QList<QByteArray> requests; // every complete request, in arrival order
    int connections = 0;

private:
    void serve(QTcpSocket* socket);
    void answer(QTcpSocket* socket);
};
