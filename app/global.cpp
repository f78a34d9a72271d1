#include "app/global.h"

QString ElapsedText(int32_t seconds) {
    const int32_t s = seconds < 0 ? 0 : seconds;
    return QStringLiteral("%1:%2:%3")
        .arg(s / 3600)
        .arg((s / 60) % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}
