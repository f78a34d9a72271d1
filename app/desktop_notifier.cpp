#include "app/desktop_notifier.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace {

const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString Path = QStringLiteral("/org/freedesktop/Notifications");
const QString Interface = QStringLiteral("org.freedesktop.Notifications");
const QString OpenAction = QStringLiteral("default");

} // namespace

DesktopNotifier::DesktopNotifier(QObject* parent) : QObject(parent) {}

DesktopNotifier::DesktopNotifier(const QDBusConnection& bus, QObject* parent)
    : DesktopNotifier(parent) {
    attach(bus);
}

void DesktopNotifier::attach(const QDBusConnection& bus) {
    bus_ = bus;
    if (!bus_->isConnected())
        return;
    bus_->connect(QString(), Path, Interface, QStringLiteral("ActionInvoked"), this,
                  SLOT(actionInvoked(uint, QString)));
    bus_->connect(QString(), Path, Interface, QStringLiteral("NotificationClosed"), this,
                  SLOT(notificationClosed(uint, uint)));
}

bool DesktopNotifier::reachBus() {
    if (!bus_)
        attach(QDBusConnection::sessionBus());
    return bus_->isConnected();
}

QString DesktopNotifier::Summary(const ArrivedIssue& issue) {
    return issue.complete ? QString::fromUtf8("Номер загружен")
                          : QString::fromUtf8("Номер загружен не полностью");
}

QString DesktopNotifier::Body(const ArrivedIssue& issue) {
    const QString title = issue.source == 2 ? QString::fromUtf8("Журнал «Зенитра»")
                                            : QString::fromUtf8("Газета «Ведомир»");
    return title + ", " + issue.date + " (" + issue.number + ")";
}

void DesktopNotifier::IssueArrived(const ArrivedIssue& issue) {
    if (!reachBus())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Interface, "Notify");
    QStringList actions;
    if (!issue.unattended)
        actions << OpenAction << QString::fromUtf8("Открыть номер");
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("norvel2"));
    hints.insert(QStringLiteral("category"), QStringLiteral("transfer.complete"));
    call << QString::fromUtf8("Норвел") << uint(0) << QStringLiteral("norvel2") << Summary(issue)
         << Body(issue) << actions << hints << int(-1);
    if (issue.unattended) {
        // The program ends next: the notification must have left by then.
        bus_->call(call, QDBus::Block, DeliveryWaitMs);
        return;
    }
    auto* watcher = new QDBusPendingCallWatcher(bus_->asyncCall(call), this);
    const QString folder = issue.folder;
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, folder](QDBusPendingCallWatcher* finished) {
                const QDBusPendingReply<uint> reply = *finished;
                if (reply.isValid())
                    shown_.insert(reply.value(), folder);
                finished->deleteLater();
            });
}

void DesktopNotifier::actionInvoked(uint id, const QString& key) {
    if (key == OpenAction && shown_.contains(id) && openIssue)
        openIssue(shown_.value(id));
}

void DesktopNotifier::notificationClosed(uint id, uint /*reason*/) {
    shown_.remove(id);
}

#include "moc_desktop_notifier.cpp"
