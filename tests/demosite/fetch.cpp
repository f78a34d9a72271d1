#include "tests/demosite/fetch.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTcpSocket>

CurlResult curl(const QStringList& arguments, int maxSeconds) {
    QProcess process;
    QStringList all{"-s", "--max-time", QString::number(maxSeconds)};
    all += arguments;
    process.start("curl", all);
    CurlResult result;
    if (!process.waitForFinished((maxSeconds + 10) * 1000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitCode();
    result.output = process.readAllStandardOutput();
    return result;
}

RawResult rawExchange(const ByteText& host, const ByteText& request, int timeoutMs,
                      qsizetype maxBytes) {
    RawResult result;
    QElapsedTimer clock;
    clock.start();
    const qsizetype colon = host.lastIndexOf(':');
    QTcpSocket socket;
    socket.connectToHost(QString::fromLatin1(host.left(colon)),
                         quint16(host.mid(colon + 1).toUInt()));
    if (!socket.waitForConnected(timeoutMs)) {
        result.timedOut = true;
        return result;
    }
    socket.write(request);
    socket.waitForBytesWritten(timeoutMs);
    while (result.bytes.size() < maxBytes) {
        const qint64 left = timeoutMs - clock.elapsed();
        if (left <= 0) {
            result.timedOut = true;
            break;
        }
        if (socket.waitForReadyRead(int(left))) {
            result.bytes += socket.readAll();
            ++result.reads;
            continue;
        }
        if (socket.error() == QAbstractSocket::RemoteHostClosedError) {
            result.bytes += socket.readAll();
            result.closedByServer = true;
        } else if (socket.error() == QAbstractSocket::SocketTimeoutError) {
            result.timedOut = true;
        } else {
            result.reset = true;
        }
        break;
    }
    result.elapsedMs = clock.elapsed();
    return result;
}

ByteText programRequest(const ByteText& host, const ByteText& path, bool throughProxy,
                        const ByteText& credentials) {
    ByteText out = "GET " + (throughProxy ? "http://" + host + path : path) + " HTTP/1.0\r\n";
    out += "Accept: */*\r\nReferer: http://" + host + "\r\nAccept-Language: ru\r\n";
    out += "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n";
    out += "Host: " + host + "\r\n";
    out += throughProxy ? "Proxy-Connection: Close\r\n" : "Connection: Close\r\n";
    if (!credentials.isEmpty())
        out += "Proxy-Authorization: Basic " + credentials.toBase64() + "\r\n";
    return out + "\r\n";
}

ByteText bodyOf(const ByteText& response) {
    const qsizetype end = response.indexOf("\r\n\r\n");
    return end < 0 ? ByteText() : response.mid(end + 4);
}

ByteText getBody(const ByteText& host, const ByteText& path) {
    RawResult result = rawExchange(host, programRequest(host, path));
    if (!result.bytes.startsWith("HTTP/1.0 200 OK\r\n"))
        return {};
    return bodyOf(result.bytes);
}
