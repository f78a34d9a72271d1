#pragma once
// The record of every request head received, byte for byte and in order of
// arrival, appended to a file that is flushed after each request, so a test
// reading it after its answer has arrived sees that request. Beside it, in
// FILE.peak, the most connections that were open at the same time.

#include "settings/bytetext.h"

#include <QFile>
#include <QString>

class RequestLog {
public:
    // Without a file name nothing is recorded.
    bool open(const QString& fileName, QString* error);
    void record(const ByteText& head);
    void recordPeak(int connections);

private:
    QFile file_;
    QString peakFile_;
};
