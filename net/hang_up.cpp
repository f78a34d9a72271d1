#include "net/hang_up.h"

#include <QNetworkInterface>
#include <QProcess>
#include <QStandardPaths>

QStringList PointToPointLinks(const QList<InterfaceInfo>& interfaces) {
    QStringList links;
    for (const InterfaceInfo& i : interfaces)
        if (i.up && (i.pointToPoint || i.name.startsWith(QLatin1String("ppp"))))
            links.append(i.name);
    return links;
}

namespace {

QStringList SystemLinks() {
    QList<InterfaceInfo> infos;
    for (const QNetworkInterface& i : QNetworkInterface::allInterfaces()) {
        InterfaceInfo info;
        info.name = i.name();
        info.pointToPoint = i.type() == QNetworkInterface::Ppp ||
                            i.flags().testFlag(QNetworkInterface::IsPointToPoint);
        info.up = i.flags().testFlag(QNetworkInterface::IsUp);
        infos.append(info);
    }
    return PointToPointLinks(infos);
}

bool RunTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted() || !process.waitForFinished(Hang_Up::ToolTimeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        return false;
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

} // namespace

HangUpPlatform SystemHangUpPlatform() {
    HangUpPlatform p;
    p.listLinks = SystemLinks;
    p.findProgram = [](const QString& name) {
        QString found = QStandardPaths::findExecutable(name);
        if (found.isEmpty()) // pppd's scripts live in the administrator's path
            found = QStandardPaths::findExecutable(name, {"/usr/sbin", "/sbin"});
        return found;
    };
    p.run = RunTool;
    return p;
}

Hang_Up::Hang_Up(HangUpPlatform platform) : platform_(std::move(platform)) {}

void Hang_Up::HangUpAll() {
    ++requests_;
    lastLinks_ = platform_.listLinks ? platform_.listLinks() : QStringList();
    if (lastLinks_.isEmpty())
        return;

    bool allDown = false;
    QString nmcli = platform_.findProgram("nmcli");
    if (!nmcli.isEmpty()) {
        allDown = true;
        for (const QString& link : lastLinks_)
            allDown = platform_.run(nmcli, {"device", "disconnect", link}) && allDown;
    }
    if (allDown)
        return;
    QString poff = platform_.findProgram("poff");
    if (!poff.isEmpty())
        platform_.run(poff, {"-a"});
}
