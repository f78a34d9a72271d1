#pragma once
// A desktop notification service for one test: a private session bus
// (dbus-daemon) with org.freedesktop.Notifications served on it by this
// object, which records every notification and can press its actions.
// Programs under test reach it through DBUS_SESSION_BUS_ADDRESS = address();
// code in the test process through bus().

#include <QDBusConnection>
#include <QList>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QVariantMap>

class FakeNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    FakeNotifications();
    ~FakeNotifications() override;

    // False when no bus could be started (dbus-daemon missing); why() says.
    bool ready() const { return ready_; }
    QString why() const { return why_; }
    QString address() const { return address_; }
    // A client connection of the test process to the private bus.
    QDBusConnection bus() const;

    struct Shown {
        uint id = 0;
        QString app, icon, summary, body;
        QStringList actions;
        QVariantMap hints;
    };
    QList<Shown> shown;

    // The user chose the action key of notification id.
    void invoke(uint id, const QString& key);

public Q_SLOTS:
    uint Notify(const QString& app_name, uint replaces_id, const QString& app_icon,
                const QString& summary, const QString& body, const QStringList& actions,
                const QVariantMap& hints, int expire_timeout);
    QStringList GetCapabilities();
    void CloseNotification(uint id);

private:
    QProcess daemon_;
    QString address_, why_;
    bool ready_ = false;
    uint nextId_ = 1;
};
