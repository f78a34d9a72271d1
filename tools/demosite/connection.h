#pragma once
// One accepted connection: reads a request head, asks the dispatcher for the
// reply, and sends it the way the reply's delivery says (at once, dribbled,
// with a split header, reset half-way, endless, closed empty, body alone, or
// never), or, for a proxy's CONNECT, opens a tunnel to a loopback port and
// carries the bytes both ways until one side ends (a reset on the far side
// is passed on as a reset).

#include "settings/bytetext.h"
#include "tools/demosite/http_message.h"

#include <QObject>
#include <QTimer>
#include <functional>

class QTcpSocket;

// How many connections are open, and the most that were at once.
struct ConnectionGauge {
    int open = 0;
    int peak = 0;
    std::function<void(int peak)> peakRaised;
};

enum class Delivery {
    Normal,
    Close,
    Silent,
    Reset,
    Dribble,
    Endless,
    SplitHeader,
    BodyOnly,
    Tunnel
};

struct Reply {
    Response response;
    Delivery delivery = Delivery::Normal;
    quint16 tunnelPort = 0; // Tunnel: the loopback port the tunnel leads to
};

class Connection : public QObject {
    Q_OBJECT
public:
    // The handler gets the complete head; the connection owns itself and
    // goes when its socket closes.
    using Handler = std::function<Reply(const ByteText& head)>;
    // latencyMs: the round trip of the link the connection behaves as if
    // over; its head is read that long after the accept, and its reply sent
    // that long after the head, by timers.
    Connection(QTcpSocket* socket, Handler handler, int dribbleMs, int latencyMs = 0,
               ConnectionGauge* gauge = nullptr);
    ~Connection() override;

private:
    void readHead();
    void send(const Reply& reply);
    void writeNextPiece();
    void finishReset();
    void feedEndless();
    qint64 unsent() const;
    void whenWritten(const std::function<void()>& then);
    void finish();
    void openTunnel(quint16 port);
    void closeTunnel();

    QTcpSocket* socket_;
    QTcpSocket* upstream_ = nullptr; // the tunnel's far side
    int upstreamWatch_ = -1;         // a second descriptor of it, to see a reset
    Handler handler_;
    int dribbleMs_;
    int latencyMs_;
    ConnectionGauge* gauge_;
    ByteText received_;
    bool answered_ = false;
    bool resetScheduled_ = false;
    // Bytes still to send piece by piece, and how many bytes each piece has
    // for the rest of the reply once pieceLimit_ bytes have gone.
    ByteText pending_;
    qsizetype pieceLimit_ = 0;
    Delivery delivery_ = Delivery::Normal;
    QTimer pieceTimer_;
};
