#pragma once
// The desktop notification that an issue has arrived, sent over D-Bus to
// org.freedesktop.Notifications on the session bus. Without a session bus
// (a run from cron, a console) or without a notification service nothing is
// sent and nothing waits. In an interactive run the notification carries
// the action "Открыть номер", which opens the issue's contents; an
// unattended run ends at once, so its notification only informs. The
// session bus is reached at the first notification, not at start: reaching
// it makes the program wait for the bus's own thread, and a run that finds
// the issue already archived has nothing to announce.

#include "app/arrived_issue.h"

#include <QDBusConnection>
#include <QHash>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class DesktopNotifier : public QObject {
    Q_OBJECT

public:
    // How long an unattended run waits for the notification to be taken.
    static constexpr int DeliveryWaitMs = 2000;

    // Notifications over the session bus.
    explicit DesktopNotifier(QObject* parent = nullptr);
    // Notifications over bus (tests give a private one).
    explicit DesktopNotifier(const QDBusConnection& bus, QObject* parent = nullptr);

    void IssueArrived(const ArrivedIssue& issue);

    // Opens an issue folder when its action is chosen; the window's program
    // sets it (OpenIssue), the run without a window offers no action.
    std::function<void(const QString& folder)> openIssue;

    // The texts of a notification.
    static QString Summary(const ArrivedIssue& issue);
    static QString Body(const ArrivedIssue& issue);

private Q_SLOTS:
    void actionInvoked(uint id, const QString& key);
    void notificationClosed(uint id, uint reason);

private:
    // Listens on bus for the actions and closes of notifications.
    void attach(const QDBusConnection& bus);
    // The bus, reached now when not yet; whether it is connected.
    bool reachBus();

    std::optional<QDBusConnection> bus_;
    QHash<uint, QString> shown_; // notifications on screen: their issue folders
};
