#include "tests/support/demo_site.h"

#include "tests/support/temp_program_folder.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

DemoSite::DemoSite(const QStringList& extraArguments, int startTimeoutMs) {
    const QString program = TempProgramFolder::binDir() + "/norvel-demosite";
    if (!QFileInfo(program).isExecutable()) {
        error_ = "demo site server not found: " + program;
        return;
    }
    QStringList arguments{"--write-sites", sitesFile(), "--log", dir_.filePath("requests.log"),
                          "--exit-with-stdin"};
    arguments += extraArguments;
    process_.setProcessChannelMode(QProcess::SeparateChannels);
    process_.setStandardOutputFile(QProcess::nullDevice());
    process_.start(program, arguments);
    if (!process_.waitForStarted(startTimeoutMs)) {
        error_ = "cannot start " + program + ": " + process_.errorString();
        return;
    }
    QElapsedTimer clock;
    clock.start();
    while (!QFileInfo::exists(sitesFile())) {
        if (process_.state() == QProcess::NotRunning || clock.elapsed() > startTimeoutMs) {
            error_ = QString("demo site did not come up (%1): %2")
                         .arg(process_.state() == QProcess::NotRunning ? "it exited" : "timed out",
                              QString::fromLocal8Bit(process_.readAllStandardError()));
            stop();
            return;
        }
        process_.waitForFinished(20);
    }
    profile_ = ReadFileBytes(sitesFile());
}

DemoSite::~DemoSite() {
    stop();
}

void DemoSite::stop() {
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.kill();
    process_.waitForFinished(5000);
}

bool DemoSite::isRunning() const {
    return error_.isEmpty() && process_.state() == QProcess::Running && !profile_.isEmpty();
}

ByteText DemoSite::value(const char* key) const {
    const ByteText prefix = ByteText(key) + "=";
    for (ByteText line : profile_.split('\n')) {
        line = line.trimmed();
        if (line.startsWith(prefix))
            return line.mid(prefix.size());
    }
    return {};
}

quint16 DemoSite::portOf(const ByteText& host) {
    const qsizetype colon = host.lastIndexOf(':');
    return colon < 0 ? 0 : quint16(host.mid(colon + 1).toUInt());
}

quint16 DemoSite::proxyPort() const {
    return portOf(proxy());
}

bool DemoSite::installInto(const QString& programFolder) const {
    const QString target = programFolder + "/sites.ini";
    QFile::remove(target);
    return QFile::copy(sitesFile(), target);
}

ByteText DemoSite::requestLog() const {
    return ReadFileBytes(dir_.filePath("requests.log"));
}

QList<ByteText> DemoSite::requests() const {
    QList<ByteText> heads;
    const ByteText log = requestLog();
    qsizetype at = 0;
    while (at < log.size()) {
        qsizetype end = log.indexOf("\r\n\r\n", at);
        qsizetype lfEnd = log.indexOf("\n\n", at);
        qsizetype length = 0;
        if (end >= 0 && (lfEnd < 0 || end + 2 <= lfEnd))
            length = end + 4 - at;
        else if (lfEnd >= 0)
            length = lfEnd + 2 - at;
        else
            length = log.size() - at;
        heads.append(log.mid(at, length));
        at += length;
    }
    return heads;
}

QList<ByteText> DemoSite::requestLines() const {
    QList<ByteText> lines;
    for (const ByteText& head : requests()) {
        ByteText line = head.left(head.indexOf('\n'));
        if (line.endsWith('\r'))
            line.chop(1);
        lines.append(line);
    }
    return lines;
}

void DemoSite::clearRequestLog() {
    // The server appends, so emptying the file in place keeps it recording.
    QFile file(dir_.filePath("requests.log"));
    if (file.open(QIODevice::ReadWrite))
        file.resize(0);
}

int DemoSite::peakConnections() const {
    return ReadFileBytes(dir_.filePath("requests.log.peak")).trimmed().toInt();
}

void UseDemoProxy(Settings& s, quint16 proxyPort) {
    s.UseProxy = true;
    s.ProxyName = "127.0.0.1";
    s.ProxyPort = QString::number(proxyPort);
    s.ProxyAut = true;
    s.ProxyLogin = "reader";
    s.ProxyPass = "secret";
}
