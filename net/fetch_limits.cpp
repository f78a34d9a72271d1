#include "net/fetch_limits.h"

#include <limits>

namespace {

// The fetch limit the environment sets for this run (NORVEL_FETCH_LIMIT,
// whole seconds), or the default.
int FetchLimitFromEnvironment() {
    bool ok = false;
    const int seconds = qEnvironmentVariableIntValue("NORVEL_FETCH_LIMIT", &ok);
    if (!ok || seconds <= 0 || seconds > std::numeric_limits<int>::max() / 1000)
        return FetchLimits::DefaultFetchLimitMs;
    return seconds * 1000;
}

// Whole seconds of a limit, rounded up, for the status texts.
int Seconds(int milliseconds) {
    return (milliseconds + 999) / 1000;
}

} // namespace

FetchLimits::FetchLimits(QObject* parent)
    : QObject(parent), fetchLimitMs_(FetchLimitFromEnvironment()) {
    silence_.setSingleShot(true);
    connect(&silence_, &QTimer::timeout, this, &FetchLimits::onSilenceTimer);
    fetchLimit_.setSingleShot(true);
    connect(&fetchLimit_, &QTimer::timeout, this, &FetchLimits::fetchLimitReached);
}

void FetchLimits::startFetch() {
    fetchLimit_.start(fetchLimitMs_);
}

void FetchLimits::activity() {
    lastActivity_.start();
    if (!silence_.isActive())
        silence_.start(silenceLimitMs_);
}

void FetchLimits::stopSilence() {
    silence_.stop();
}

void FetchLimits::stop() {
    silence_.stop();
    fetchLimit_.stop();
}

void FetchLimits::onSilenceTimer() {
    const qint64 quietMs = lastActivity_.elapsed();
    if (quietMs < silenceLimitMs_)
        silence_.start(int(silenceLimitMs_ - quietMs));
    else
        Q_EMIT silenceReached();
}

QString FetchLimits::silenceStatus() const {
    return QStringLiteral("Сервер не отвечает %1 с, загрузка прекращена")
        .arg(Seconds(silenceLimitMs_));
}

QString FetchLimits::fetchLimitStatus(qsizetype received) const {
    return QStringLiteral("Загрузка не завершилась за %1 с, прекращена (%2 Bytes)")
        .arg(Seconds(fetchLimitMs_))
        .arg(received);
}

#include "moc_fetch_limits.cpp"
