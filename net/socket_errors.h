#pragma once
// The socket error texts the user sees: the socket layer's errors mapped onto
// the numbered codes that data/wserror.dat lists (the WinSock numbering the
// socket-error window is titled by), each with its short Russian description.
// The download control's error link reads "Ошибка " + code + " (" +
// description + ")", never the toolkit's English text.

#include <QAbstractSocket>
#include <QList>
#include <QString>

struct SocketErrorCode {
    int code = 0;
    QString description;
};

// Every code the mapping can give, in the order wserror.dat lists them.
const QList<SocketErrorCode>& SocketErrorCodes();

// The code of a socket error. toolkitText is the socket's own error string:
// the toolkit reports a timed-out, unreachable or unroutable connection all
// as a network error and tells them apart only there.
SocketErrorCode SocketErrorFor(QAbstractSocket::SocketError error, const QString& toolkitText);

// "Ошибка 10061 (В подключении отказано)", the download control's link text.
QString SocketErrorLinkText(const SocketErrorCode& code);
