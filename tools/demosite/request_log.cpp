#include "tools/demosite/request_log.h"

bool RequestLog::open(const QString& fileName, QString* error) {
    if (fileName.isEmpty())
        return true;
    file_.setFileName(fileName);
    peakFile_ = fileName + ".peak";
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        *error = QString("cannot open the request log %1: %2").arg(fileName, file_.errorString());
        return false;
    }
    return true;
}

void RequestLog::record(const ByteText& head) {
    if (!file_.isOpen())
        return;
    file_.write(head);
    file_.flush();
}

void RequestLog::recordPeak(int connections) {
    if (peakFile_.isEmpty())
        return;
    QFile peak(peakFile_);
    if (peak.open(QIODevice::WriteOnly | QIODevice::Truncate))
        peak.write(ByteText::number(connections) + "\n");
}
