#include "app/unattended_report.h"

#include <cstdio>

void WriteToStandardError(const QString& text) {
    const QByteArray line = "norvel2: " + text.toUtf8() + "\n";
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
}
