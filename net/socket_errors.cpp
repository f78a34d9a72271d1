#include "net/socket_errors.h"

namespace {

enum Code {
    AccessDenied = 10013,
    OperationInProgress = 10036,
    NotSupported = 10045,
    AddressInUse = 10048,
    AddressNotAvailable = 10049,
    NetworkDown = 10050,
    NetworkUnreachable = 10051,
    ConnectionReset = 10054,
    NoBuffers = 10055,
    TimedOut = 10060,
    Refused = 10061,
    HostUnreachable = 10065,
    HostNotFound = 11001,
    TryAgain = 11002,
    Unknown = -1,
};

SocketErrorCode Entry(Code code) {
    for (const SocketErrorCode& entry : SocketErrorCodes())
        if (entry.code == code)
            return entry;
    return SocketErrorCodes().last();
}

// A network error of the toolkit, told apart by its (untranslated) text.
Code NetworkErrorCode(const QString& toolkitText) {
    if (toolkitText.contains(QLatin1String("timed out"), Qt::CaseInsensitive))
        return TimedOut;
    if (toolkitText.contains(QLatin1String("host unreachable"), Qt::CaseInsensitive))
        return HostUnreachable;
    if (toolkitText.contains(QLatin1String("network unreachable"), Qt::CaseInsensitive))
        return NetworkUnreachable;
    return NetworkDown;
}

} // namespace

const QList<SocketErrorCode>& SocketErrorCodes() {
    static const QList<SocketErrorCode> codes = {
        {AccessDenied, QString::fromUtf8("Доступ запрещён")},
        {OperationInProgress, QString::fromUtf8("Операция уже выполняется")},
        {NotSupported, QString::fromUtf8("Операция не поддерживается")},
        {AddressInUse, QString::fromUtf8("Адрес уже используется")},
        {AddressNotAvailable, QString::fromUtf8("Адрес недоступен")},
        {NetworkDown, QString::fromUtf8("Сеть не работает")},
        {NetworkUnreachable, QString::fromUtf8("Сеть недоступна")},
        {ConnectionReset, QString::fromUtf8("Соединение сброшено сервером")},
        {NoBuffers, QString::fromUtf8("Не хватает памяти для сокета")},
        {TimedOut, QString::fromUtf8("Превышено время ожидания")},
        {Refused, QString::fromUtf8("В подключении отказано")},
        {HostUnreachable, QString::fromUtf8("Сервер недоступен")},
        {HostNotFound, QString::fromUtf8("Сервер не найден")},
        {TryAgain, QString::fromUtf8("Сервер имён не ответил")},
        {Unknown, QString::fromUtf8("Неизвестная ошибка сети")},
    };
    return codes;
}

SocketErrorCode SocketErrorFor(QAbstractSocket::SocketError error, const QString& toolkitText) {
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
    case QAbstractSocket::ProxyConnectionRefusedError:
        return Entry(Refused);
    case QAbstractSocket::RemoteHostClosedError:
    case QAbstractSocket::ProxyConnectionClosedError:
        return Entry(ConnectionReset);
    case QAbstractSocket::HostNotFoundError:
    case QAbstractSocket::ProxyNotFoundError:
        return Entry(HostNotFound);
    case QAbstractSocket::SocketTimeoutError:
    case QAbstractSocket::ProxyConnectionTimeoutError:
        return Entry(TimedOut);
    case QAbstractSocket::NetworkError:
        return Entry(NetworkErrorCode(toolkitText));
    case QAbstractSocket::SocketAccessError:
        return Entry(AccessDenied);
    case QAbstractSocket::SocketResourceError:
        return Entry(NoBuffers);
    case QAbstractSocket::AddressInUseError:
        return Entry(AddressInUse);
    case QAbstractSocket::SocketAddressNotAvailableError:
        return Entry(AddressNotAvailable);
    case QAbstractSocket::UnsupportedSocketOperationError:
        return Entry(NotSupported);
    case QAbstractSocket::UnfinishedSocketOperationError:
        return Entry(OperationInProgress);
    case QAbstractSocket::TemporaryError:
        return Entry(TryAgain);
    default:
        return Entry(Unknown);
    }
}

QString SocketErrorLinkText(const SocketErrorCode& code) {
    return QString::fromUtf8("Ошибка %1 (%2)").arg(code.code).arg(code.description);
}
