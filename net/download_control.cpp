#include "net/download_control.h"

#include "net/fetch_connection.h"
#include "net/secure_errors.h"
#include "net/socket_errors.h"
#include "net/status_line.h"

#include <QCoreApplication>
#include <QEventLoop>

Download_Control::Download_Control(QObject* parent) : QObject(parent) {
    connect(&limits_, &FetchLimits::silenceReached, this, &Download_Control::onSilence);
    connect(&limits_, &FetchLimits::fetchLimitReached, this, &Download_Control::onFetchLimit);
    connect(&face_, &DownloadFace::statusChanged, this, &Download_Control::statusChanged);
    connect(&face_, &DownloadFace::trafficChanged, this, &Download_Control::trafficChanged);
    connect(&face_, &DownloadFace::frameChanged, this, &Download_Control::frameChanged);
}

Download_Control::~Download_Control() {
    if (waitLoop_)
        waitLoop_->quit();
    releaseSocket();
}

void Download_Control::RHost(const ByteText& RemoteHost) {
    route_.setHost(RemoteHost);
}

void Download_Control::UseProxyServer(const ByteText& Name, const ByteText& Port,
                                      bool UseProxyServer) {
    route_.useProxy(Name, Port, UseProxyServer);
}

void Download_Control::ProxyAut(const ByteText& Login, const ByteText& Password, bool ProxyAut) {
    route_.authorise(Login, Password, ProxyAut);
}

void Download_Control::PathCasheFiles(const QString& CPath) {
    cache_->setFolder(CPath);
}

void Download_Control::CasheSize(int16_t Size) {
    cache_->setCapacity(Size);
}

int16_t Download_Control::SizeCashe() {
    return cache_->count();
}

void Download_Control::ClearCashe() {
    cache_->clear();
}

ByteText Download_Control::Down(const ByteText& RemoteFile, bool CasheFile) {
    if (fetching_)
        return "error";
    if (begin(RemoteFile, CasheFile) && fetching_) {
        QEventLoop loop;
        waitLoop_ = &loop;
        loop.exec();
        waitLoop_ = nullptr;
    }
    if (fetching_) {
        // The loop ended without a result: the application is quitting.
        releaseSocket();
        finish("stop");
    }
    return result_;
}

void Download_Control::Start(const ByteText& RemoteFile, bool CasheFile) {
    ByteText immediate = "error";
    if (!fetching_) {
        if (begin(RemoteFile, CasheFile) && fetching_) {
            started_ = true;
            return;
        }
        immediate = result_;
    }
    // Answered at once (the cache, a refused host): told from the loop, as
    // a fetch over the network would be.
    QMetaObject::invokeMethod(
        this, [this, immediate] { Q_EMIT fetched(immediate); }, Qt::QueuedConnection);
}

void Download_Control::configureLike(const Download_Control& lead) {
    route_.takeSettingsOf(lead.route_);
    limits_.setSilenceLimit(lead.limits_.silenceLimit());
    limits_.setFetchLimit(lead.limits_.fetchLimit());
    buffer_.setLimit(lead.buffer_.limit());
    face_.setTrafficCounter(lead.face_.trafficCounter());
    cache_ = lead.cache_;
}

// Sets up a fetch; true when it went to the network, false when result_
// already holds its answer (the cache).
bool Download_Control::begin(const ByteText& RemoteFile, bool CasheFile) {
    setStatus(face_.status(), false);
    remoteFile_ = RemoteFile;
    result_.clear();
    buffer_.clear();
    casheFile_ = CasheFile;
    triedOtherCredentials_ = false;
    proxyRefused_ = false;

    if (CasheFile) {
        QCoreApplication::processEvents();
        if (std::optional<ByteText> hit = cache_->lookup(route_.host(), RemoteFile)) {
            setStatus(QStringLiteral("Файл взят из кэша"));
            result_ = *hit;
            return false;
        }
    }

    fetching_ = true;
    face_.startAnimation();
    limits_.startFetch();
    startConnection();
    return true;
}

bool Download_Control::startConnection() {
    RoutePlan route = route_.plan();
    if (!route.connecting.isEmpty())
        setStatus(route.connecting);
    if (!route.connection) {
        if (route.secureFailure)
            onSecureFailure(route.failure);
        else
            fail(route.failure, QStringLiteral("Ошибка подключения"));
        return false;
    }
    releaseSocket();
    WS = new FetchConnection(std::move(*route.connection), this);
    FetchConnection* connection = WS;
    // Each handler checks that its connection is still the current one, so
    // a late event of an abandoned connection never touches the next fetch.
    auto current = [this, connection] { return connection == WS; };
    connect(connection, &FetchConnection::ready, this, [this, current] {
        if (current())
            onConnected();
    });
    connect(connection, &FetchConnection::readyRead, this, [this, current] {
        if (current())
            onReadyRead();
    });
    connect(connection, &FetchConnection::activity, this, [this, current] {
        if (current())
            restartSilenceTimer();
    });
    connect(connection, &FetchConnection::closed, this, [this, current] {
        if (current())
            onClosed();
    });
    connect(connection, &FetchConnection::failed, this,
            [this, current](QAbstractSocket::SocketError code, const QString& text) {
                if (current())
                    onSocketError(int(code), text);
            });
    connect(connection, &FetchConnection::secureFailed, this,
            [this, current](const QString& reason) {
                if (current())
                    onSecureFailure(reason);
            });
    restartSilenceTimer();
    connection->open();
    return true;
}

void Download_Control::onConnected() {
    const ByteText request = route_.requestFor(remoteFile_);
    face_.addTraffic(request.size() + WS->tunnelBytes());
    restartSilenceTimer();
    WS->write(request);
    setStatus(QStringLiteral("Отправлен запрос"));
}

bool Download_Control::readAvailable() {
    const ByteText chunk = WS->readAll();
    if (chunk.isEmpty())
        return true;
    if (!buffer_.append(chunk)) {
        fail(QStringLiteral("Ответ сервера больше %1 Мб, загрузка прекращена")
                 .arg(buffer_.limit() / (1024 * 1024)),
             QStringLiteral("Ошибка загрузки: слишком большой ответ сервера"));
        return false;
    }
    restartSilenceTimer();
    setStatus(QStringLiteral("Загрузка данных: %1 Bytes").arg(buffer_.size()));
    return true;
}

void Download_Control::onReadyRead() {
    if (fetching_)
        readAvailable();
}

void Download_Control::onClosed() {
    if (!fetching_ || !readAvailable())
        return;
    const ConnectionEnd end = WS->end();
    // A 401 to a request that carried the proxy's credentials is the
    // proxy's refusal too (tinyproxy words it so), unless a site answered it
    // through an open tunnel.
    const bool fromProxy =
        route_.viaProxy() && route_.authorising() && (!route_.secure() || WS->tunnelRefused());
    releaseSocket();
    const qsizetype received = buffer_.size();
    JudgedResponse judged = JudgeReceived(buffer_.bytes(), end);
    if (judged.verdict == ResponseVerdict::Response && fromProxy && HasStatus(judged.response, 401))
        judged.verdict = ResponseVerdict::ProxyAuthFailed;
    switch (judged.verdict) {
    case ResponseVerdict::ProxyAuthFailed:
        if (retryWithOtherCredentials())
            return;
        proxyRefused_ = true;
        fail(QStringLiteral("Ошибка авторизации на прокси"),
             QStringLiteral("Ошибка авторизации на прокси-сервере"));
        return;
    case ResponseVerdict::NotFound:
        finish("error");
        return;
    case ResponseVerdict::NoData:
        fail(QStringLiteral("Сервер закрыл соединение, не передав данных"),
             QStringLiteral("Ошибка подключения: сервер не передал данных"));
        return;
    case ResponseVerdict::NoStatusLine:
        fail(QStringLiteral("Ответ сервера без строки состояния HTTP (%1 Bytes)").arg(received),
             QStringLiteral("Ошибка загрузки: ответ сервера не по протоколу HTTP"));
        return;
    case ResponseVerdict::Truncated:
        fail(QStringLiteral("Ответ сервера получен не полностью (%1 Bytes)").arg(received),
             QStringLiteral("Ошибка загрузки: соединение оборвалось"));
        return;
    case ResponseVerdict::BadFraming:
        fail(QStringLiteral("Ответ сервера повреждён: неверная разбивка на части (%1 Bytes)")
                 .arg(received),
             QStringLiteral("Ошибка загрузки: ответ сервера повреждён"));
        return;
    case ResponseVerdict::Response:
        break;
    }
    setStatus(QStringLiteral("Загрузка завершена"));
    if (casheFile_)
        cache_->store(route_.host(), remoteFile_, judged.response);
    face_.addTraffic(received);
    finish(judged.response);
}

// One more try of a refused fetch with the credentials' other byte form.
// A refusal of both leaves the first form first again.
bool Download_Control::retryWithOtherCredentials() {
    if (!route_.switchCredentialForm() || triedOtherCredentials_)
        return false;
    triedOtherCredentials_ = true;
    buffer_.clear();
    return startConnection();
}

void Download_Control::onSocketError(int code, const QString& description) {
    if (!fetching_)
        return;
    const bool reached = WS && WS->connected();
    releaseSocket();
    setStatus(SocketErrorLinkText(SocketErrorFor(QAbstractSocket::SocketError(code), description)),
              true);
    const auto error = QAbstractSocket::SocketError(code);
    const bool unreachable = error == QAbstractSocket::ConnectionRefusedError ||
                             error == QAbstractSocket::HostNotFoundError ||
                             error == QAbstractSocket::SocketTimeoutError ||
                             error == QAbstractSocket::NetworkError;
    if (route_.viaProxy() && !reached && unreachable) {
        const QString reason =
            QStringLiteral("Прокси-сервер %1 недоступен").arg(route_.proxyAddress());
        setMainStatus(reason);
        Q_EMIT connectionFailed(reason);
    } else {
        setMainStatus(QStringLiteral("Ошибка подключения"));
    }
    finish("error");
}

void Download_Control::onSecureFailure(const QString& reason) {
    if (!fetching_)
        return;
    releaseSocket();
    // Drawn as a link, as a socket error is: a click opens the error list.
    setStatus(SecureFailureStatus(reason), true);
    setMainStatus(QStringLiteral("Ошибка безопасного соединения"));
    Q_EMIT connectionFailed(SecureFailureStatus(reason));
    finish("error");
}

void Download_Control::onSilence() {
    if (!fetching_)
        return;
    fail(limits_.silenceStatus(), QStringLiteral("Ошибка подключения: сервер не отвечает"));
}

void Download_Control::onFetchLimit() {
    if (!fetching_)
        return;
    fail(limits_.fetchLimitStatus(buffer_.size()),
         QStringLiteral("Ошибка загрузки: сервер передаёт данные слишком медленно"));
}

void Download_Control::Stopped() {
    Q_EMIT stopRequested();
    releaseSocket();
    setStatus(QStringLiteral("Загрузка прервана"));
    face_.stopAnimation();
    setMainStatus(QStringLiteral("Загрузка прервана"));
    if (fetching_)
        finish("stop");
}

void Download_Control::fail(const QString& status, const QString& mainStatus) {
    releaseSocket();
    setStatus(status);
    setMainStatus(mainStatus);
    finish("error");
}

void Download_Control::finish(const ByteText& result) {
    if (!fetching_)
        return;
    fetching_ = false;
    limits_.stop();
    face_.stopAnimation();
    result_ = result;
    if (waitLoop_)
        waitLoop_->quit();
    if (started_) {
        started_ = false;
        Q_EMIT fetched(result);
    }
}

void Download_Control::releaseSocket() {
    limits_.stopSilence();
    if (!WS)
        return;
    FetchConnection* connection = WS;
    WS = nullptr;
    connection->abort();
    // Handlers of this connection may be on the stack; delete it from the loop.
    connection->deleteLater();
}

void Download_Control::restartSilenceTimer() {
    if (!fetching_)
        return;
    limits_.activity();
}

void Download_Control::setStatus(const QString& text, bool asLink) {
    face_.setStatus(text, asLink);
}

void Download_Control::setMainStatus(const QString& text) {
    Q_EMIT mainStatusChanged(text);
}

#include "moc_download_control.cpp"
