#include "tests/support/fake_notifications.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace {

const QString ServerName = QStringLiteral("fake-notifications-server");
const QString ClientName = QStringLiteral("fake-notifications-client");
const QString Path = QStringLiteral("/org/freedesktop/Notifications");
const QString Interface = QStringLiteral("org.freedesktop.Notifications");

} // namespace

FakeNotifications::FakeNotifications() {
    daemon_.start(QStringLiteral("dbus-daemon"),
                  {"--session", "--nofork", "--nopidfile", "--print-address=1"});
    if (!daemon_.waitForStarted(10'000)) {
        why_ = "cannot start dbus-daemon: " + daemon_.errorString();
        return;
    }
    while (!daemon_.canReadLine() && daemon_.waitForReadyRead(10'000)) {
    }
    address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    QDBusConnection server = QDBusConnection::connectToBus(address_, ServerName);
    if (!server.isConnected() ||
        !server.registerObject(Path, this, QDBusConnection::ExportAllSlots) ||
        !server.registerService(Interface)) {
        why_ = "no private bus at " + address_ + ": " + server.lastError().message();
        return;
    }
    ready_ = true;
}

FakeNotifications::~FakeNotifications() {
    QDBusConnection::disconnectFromBus(ServerName);
    QDBusConnection::disconnectFromBus(ClientName);
    daemon_.kill();
    daemon_.waitForFinished(5000);
}

QDBusConnection FakeNotifications::bus() const {
    return QDBusConnection::connectToBus(address_, ClientName);
}

uint FakeNotifications::Notify(const QString& app_name, uint /*replaces_id*/,
                               const QString& app_icon, const QString& summary, const QString& body,
                               const QStringList& actions, const QVariantMap& hints,
                               int /*expire_timeout*/) {
    shown.append({nextId_, app_name, app_icon, summary, body, actions, hints});
    return nextId_++;
}

QStringList FakeNotifications::GetCapabilities() {
    return {"actions", "body"};
}

void FakeNotifications::CloseNotification(uint /*id*/) {}

void FakeNotifications::invoke(uint id, const QString& key) {
    QDBusMessage signal = QDBusMessage::createSignal(Path, Interface, "ActionInvoked");
    signal << id << key;
    QDBusConnection::connectToBus(address_, ServerName).send(signal);
}

#include "moc_fake_notifications.cpp"
