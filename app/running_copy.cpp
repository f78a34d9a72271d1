#include "app/running_copy.h"

#include "app/single_instance.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace {

constexpr int CallTimeoutMs = 2000;
constexpr char Call[] = "forward\n";

} // namespace

QString RunningCopySocket(const QString& programFolder) {
    QString path = RuntimeLockPath(programFolder);
    path.chop(QStringLiteral(".lock").size());
    return path + QStringLiteral(".sock");
}

RunningCopyListener::RunningCopyListener(const QString& programFolder, std::function<void()> onCall,
                                         QObject* parent)
    : QObject(parent), server_(new QLocalServer(this)), onCall_(std::move(onCall)) {
    const QString name = RunningCopySocket(programFolder);
    // The copy holding the program folder's lock is the only one: a socket
    // left there is a dead copy's.
    QLocalServer::removeServer(name);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    server_->listen(name);
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* caller = server_->nextPendingConnection()) {
            connect(caller, &QLocalSocket::disconnected, caller, &QObject::deleteLater);
            connect(caller, &QLocalSocket::readyRead, this, [this, caller] {
                if (caller->readAll().contains(Call) && onCall_)
                    onCall_();
                caller->disconnectFromServer();
            });
        }
    });
}

bool RunningCopyListener::listening() const {
    return server_->isListening();
}

bool CallRunningCopy(const QString& programFolder) {
    QLocalSocket socket;
    socket.connectToServer(RunningCopySocket(programFolder));
    if (!socket.waitForConnected(CallTimeoutMs))
        return false;
    socket.write(Call);
    const bool sent = socket.waitForBytesWritten(CallTimeoutMs);
    socket.waitForDisconnected(CallTimeoutMs);
    return sent;
}

#include "moc_running_copy.cpp"
