#pragma once
// Freeing the line after a download (setting KillConnect): every
// point-to-point link of the machine (a ppp* interface that is up, such as a
// modem or mobile dial-up) is taken down; on a machine without one nothing
// happens and nothing is reported.
//
// The machine is reached through HangUpPlatform, so tests can stand in a
// fake list of links and record the commands instead of touching the real
// network. Hang_Up counts every request, whether or not a link was found,
// so a workflow test can check that the hang-up was asked for.

#include <QString>
#include <QStringList>
#include <functional>

struct HangUpPlatform {
    // Names of the point-to-point interfaces that are up now.
    std::function<QStringList()> listLinks;
    // Full path of an installed program, or empty text.
    std::function<QString(const QString& program)> findProgram;
    // Runs a program to its end; true when it exited with code 0.
    std::function<bool(const QString& program, const QStringList& arguments)> run;
};

// The real machine: QNetworkInterface for the links, QProcess for the tools.
HangUpPlatform SystemHangUpPlatform();

// The interface names that count as point-to-point links among all
// interfaces of the machine, given as (name, is point-to-point type, is up).
struct InterfaceInfo {
    QString name;
    bool pointToPoint = false;
    bool up = false;
};
QStringList PointToPointLinks(const QList<InterfaceInfo>& interfaces);

class Hang_Up {
public:
    // How long one hang-up tool may run before it is given up on.
    static constexpr int ToolTimeoutMs = 10'000;

    explicit Hang_Up(HangUpPlatform platform = SystemHangUpPlatform());
    virtual ~Hang_Up() = default;

    // Takes every point-to-point link down: NetworkManager's "nmcli device
    // disconnect" per link where it is installed, then pppd's "poff -a" for
    // whatever is still up. Failures are not reported.
    virtual void HangUpAll();

    // Requests made so far, and the links found by the last one.
    int HangUpsRequested() const { return requests_; }
    const QStringList& LastLinks() const { return lastLinks_; }

private:
    HangUpPlatform platform_;
    int requests_ = 0;
    QStringList lastLinks_;
};
