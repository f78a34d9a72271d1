#pragma once
// Freeing the line after a download (setting KillConnect): the machine's
// dial-up links are hung up, and nothing else. A dial-up link is a ppp device
// that is up (a modem run by pppd or NetworkManager) or an active
// NetworkManager connection of a dial-up type (mobile broadband "gsm" or
// "cdma", "pppoe"). VPN tunnels (WireGuard, tun, VPN plugins), wireless and
// wired links stay up. On a machine without dial-up links nothing happens and
// nothing is reported.
//
// The machine is reached through HangUpPlatform, so tests can stand in a
// fake machine and record the commands instead of touching the real network.
// Hang_Up counts every request, whether or not a link was found, so a
// workflow test can check that the hang-up was asked for.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// One network interface of the machine.
struct InterfaceInfo {
    QString name;
    bool ppp = false; // the kernel's ppp type (point-to-point tunnels are not)
    bool pointToPoint = false;
    bool up = false;
};

// One active NetworkManager connection: its UUID, its type as nmcli names it
// ("gsm", "802-11-wireless", "wireguard", ...) and its device.
struct ActiveConnection {
    QString uuid, type, device;
};

struct HangUpPlatform {
    std::function<QList<InterfaceInfo>()> listInterfaces;
    // The active NetworkManager connections; empty without NetworkManager.
    std::function<QList<ActiveConnection>()> listConnections;
    // Full path of an installed program, or empty text.
    std::function<QString(const QString& program)> findProgram;
    // Runs a program to its end; true when it exited with code 0.
    std::function<bool(const QString& program, const QStringList& arguments)> run;
};

// The real machine: QNetworkInterface for the interfaces, nmcli for the
// connections, QProcess for the tools.
HangUpPlatform SystemHangUpPlatform();

// The ppp devices among the interfaces that are up.
QStringList DialUpInterfaces(const QList<InterfaceInfo>& interfaces);
// The connections of a dial-up type.
QList<ActiveConnection> DialUpConnections(const QList<ActiveConnection>& connections);
// The lines of "nmcli -t -f UUID,TYPE,DEVICE connection show --active"
// (fields split at ":", "\:" and "\\" escaped).
QList<ActiveConnection> ParseActiveConnections(const QByteArray& terseOutput);

class Hang_Up {
public:
    // How long one tool may run before it is given up on.
    static constexpr int ToolTimeoutMs = 10'000;

    explicit Hang_Up(HangUpPlatform platform = SystemHangUpPlatform());
    virtual ~Hang_Up() = default;

    // Hangs up every dial-up link: NetworkManager's dial-up connections by
    // "nmcli connection down uuid", then the ppp devices still up by "nmcli
    // device disconnect" each, and pppd's "poff -a" where that is missing or
    // fails. Failures are not reported.
    virtual void HangUpAll();

    // Requests made so far, and what the last one found to hang up: the
    // devices of the dial-up connections, then the ppp devices.
    int HangUpsRequested() const { return requests_; }
    const QStringList& LastLinks() const { return lastLinks_; }

private:
    QStringList pppLinks() const;
    void hangUpPppLinks(const QStringList& links);
    QString findProgram(const QString& name) const;

    HangUpPlatform platform_;
    int requests_ = 0;
    QStringList lastLinks_;
};
