#pragma once
// The connection one fetch runs over, apart from what is fetched: plain TCP
// to the site or to the proxy, or TLS with the site, directly or inside a
// tunnel the proxy opens on "CONNECT name:port". The download control sends
// its request once ready() comes, reads what readyRead() announces, and
// judges the answer when closed() comes, asking end() whether the peer
// closed or reset the connection.
//
// A proxy that refuses the tunnel (any answer but a well-formed 2xx status
// line, a 407 among them) hands its answer over as the fetch's answer, and
// ready() never comes: the control judges it as it judges a proxy's answer
// to a plain request.
// A TLS peer whose certificate fails the check ends the connection with
// secureFailed(reason in Russian); the check is never waived.

#include "net/connection_end.h"
#include "settings/bytetext.h"

#include <QAbstractSocket>
#include <QObject>
#include <QSslConfiguration>
#include <QSslError>
#include <optional>

class QTcpSocket;

struct ConnectionPlan {
    ByteText name;          // host (or proxy) the socket connects to,
    quint16 port = 0;       // at this port
    bool secure = false;    // TLS with the site
    QString verifyName;     // the site's name its certificate must carry
    ByteText tunnelRequest; // "CONNECT ..." sent first to the proxy; empty for none
    // Whom a secure connection trusts; none for a plain one, whose run then
    // never loads the TLS library.
    std::optional<QSslConfiguration> tls;
};

class FetchConnection : public QObject {
    Q_OBJECT

public:
    // The largest proxy answer head to a CONNECT waited for.
    static constexpr qsizetype MaxTunnelAnswer = 64 * 1024;

    FetchConnection(ConnectionPlan plan, QObject* parent);
    ~FetchConnection() override;

    void open();
    void write(const ByteText& bytes);
    // The site's answer bytes that have arrived (or the proxy's refusal).
    ByteText readAll();
    // How the peer ended the connection; Closed while it lasts.
    ConnectionEnd end() const { return end_.end(); }
    // Bytes of the CONNECT exchange (request and the proxy's answer head).
    qsizetype tunnelBytes() const { return tunnelBytes_; }
    // Whether the connection to the host (or proxy) it goes to was made.
    bool connected() const { return stage_ != Stage::Connecting; }
    // Whether what it delivered is the proxy's own answer to CONNECT: the
    // tunnel was refused.
    bool tunnelRefused() const { return stage_ == Stage::Refused; }
    // Closes at once; no signal comes after.
    void abort();

Q_SIGNALS:
    void ready();     // the request may go
    void readyRead(); // answer bytes arrived
    void activity();  // bytes moved on the wire (the silence clock restarts)
    void closed();    // the peer ended the connection, orderly or by a reset
    void failed(QAbstractSocket::SocketError code, const QString& description);
    void secureFailed(const QString& reason);

private:
    enum class Stage { Connecting, Tunnelling, Handshake, Open, Refused };

    void onConnected();
    void onReadyRead();
    void onError(QAbstractSocket::SocketError code);
    void onClosed();
    // Bytes of a plain connection handed to the system at once; 0 when
    // none could go.
    qsizetype sendNow(const ByteText& bytes);
    void readTunnelAnswer();
    void startHandshake();
    // The certificate's failed checks when there were any, else otherwise.
    QString handshakeFailure(const QString& otherwise) const;

    ConnectionPlan plan_;
    QTcpSocket* socket_ = nullptr;
    Stage stage_ = Stage::Connecting;
    ByteText tunnelAnswer_; // the proxy's answer while it is read
    ByteText refusal_;      // a refused tunnel's answer, not yet read
    QList<QSslError> certificateErrors_;
    qsizetype tunnelBytes_ = 0;
    ConnectionEndWatch end_;
};
