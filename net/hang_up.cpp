#include "net/hang_up.h"

#include <QNetworkInterface>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <optional>

QStringList DialUpInterfaces(const QList<InterfaceInfo>& interfaces) {
    static const QRegularExpression pppName(QStringLiteral("^ppp\\d+$"));
    QStringList links;
    for (const InterfaceInfo& i : interfaces)
        if (i.up && (i.ppp || pppName.match(i.name).hasMatch()))
            links.append(i.name);
    return links;
}

QList<ActiveConnection> DialUpConnections(const QList<ActiveConnection>& connections) {
    static const QStringList dialUpTypes = {"gsm", "cdma", "pppoe"};
    QList<ActiveConnection> dialUp;
    for (const ActiveConnection& c : connections)
        if (dialUpTypes.contains(c.type))
            dialUp.append(c);
    return dialUp;
}

namespace {

// The fields of one terse nmcli line.
QStringList TerseFields(const QByteArray& line) {
    QStringList fields;
    QByteArray field;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line.at(i);
        if (c == '\\' && i + 1 < line.size()) {
            field += line.at(++i);
        } else if (c == ':') {
            fields.append(QString::fromUtf8(field));
            field.clear();
        } else {
            field += c;
        }
    }
    fields.append(QString::fromUtf8(field));
    return fields;
}

} // namespace

QList<ActiveConnection> ParseActiveConnections(const QByteArray& terseOutput) {
    QList<ActiveConnection> connections;
    for (QByteArray line : terseOutput.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        const QStringList fields = TerseFields(line);
        if (fields.size() != 3 || fields[0].isEmpty())
            continue;
        connections.append({fields[0], fields[1], fields[2]});
    }
    return connections;
}

namespace {

QList<InterfaceInfo> SystemInterfaces() {
    QList<InterfaceInfo> infos;
    for (const QNetworkInterface& i : QNetworkInterface::allInterfaces()) {
        InterfaceInfo info;
        info.name = i.name();
        info.ppp = i.type() == QNetworkInterface::Ppp;
        info.pointToPoint = i.flags().testFlag(QNetworkInterface::IsPointToPoint);
        info.up = i.flags().testFlag(QNetworkInterface::IsUp);
        infos.append(info);
    }
    return infos;
}

QString FindProgram(const QString& name) {
    QString found = QStandardPaths::findExecutable(name);
    if (found.isEmpty()) // pppd's scripts live in the administrator's path
        found = QStandardPaths::findExecutable(name, {"/usr/sbin", "/sbin"});
    return found;
}

// Runs a program to its end; its standard output when it exited with 0.
std::optional<QByteArray> RunTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted() || !process.waitForFinished(Hang_Up::ToolTimeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        return std::nullopt;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

QList<ActiveConnection> SystemConnections() {
    const QString nmcli = FindProgram("nmcli");
    if (nmcli.isEmpty())
        return {};
    const std::optional<QByteArray> out =
        RunTool(nmcli, {"-t", "-f", "UUID,TYPE,DEVICE", "connection", "show", "--active"});
    return out ? ParseActiveConnections(*out) : QList<ActiveConnection>();
}

} // namespace

HangUpPlatform SystemHangUpPlatform() {
    HangUpPlatform p;
    p.listInterfaces = SystemInterfaces;
    p.listConnections = SystemConnections;
    p.findProgram = FindProgram;
    p.run = [](const QString& program, const QStringList& arguments) {
        return RunTool(program, arguments).has_value();
    };
    return p;
}

Hang_Up::Hang_Up(HangUpPlatform platform) : platform_(std::move(platform)) {}

QStringList Hang_Up::pppLinks() const {
    return DialUpInterfaces(platform_.listInterfaces ? platform_.listInterfaces()
                                                     : QList<InterfaceInfo>());
}

void Hang_Up::HangUpAll() {
    ++requests_;
    lastLinks_.clear();
    const QList<ActiveConnection> connections = DialUpConnections(
        platform_.listConnections ? platform_.listConnections() : QList<ActiveConnection>());
    if (!connections.isEmpty()) {
        const QString nmcli = findProgram("nmcli");
        for (const ActiveConnection& c : connections) {
            lastLinks_.append(c.device);
            if (!nmcli.isEmpty())
                platform_.run(nmcli, {"connection", "down", "uuid", c.uuid});
        }
    }
    // A modem connection takes its ppp device with it, so the devices are
    // listed after the connections went down.
    const QStringList links = pppLinks();
    lastLinks_ += links;
    if (!links.isEmpty())
        hangUpPppLinks(links);
}

void Hang_Up::hangUpPppLinks(const QStringList& links) {
    bool allDown = false;
    const QString nmcli = findProgram("nmcli");
    if (!nmcli.isEmpty()) {
        allDown = true;
        for (const QString& link : links)
            allDown = platform_.run(nmcli, {"device", "disconnect", link}) && allDown;
    }
    if (allDown)
        return;
    const QString poff = findProgram("poff");
    if (!poff.isEmpty())
        platform_.run(poff, {"-a"});
}

QString Hang_Up::findProgram(const QString& name) const {
    return platform_.findProgram ? platform_.findProgram(name) : QString();
}
