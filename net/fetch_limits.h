#pragma once
// FetchLimits: the two clocks that end a fetch the server drags out. The
// silence limit ends a fetch that receives nothing for its length; the
// fetch limit ends one that has not finished its length after it began,
// however steadily data arrives, so a server trickling a byte a second
// cannot hold a download for hours. Each tells by a signal; the download
// control ends the fetch in "error" and says which limit it was.

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

class FetchLimits : public QObject {
    Q_OBJECT

public:
    static constexpr int DefaultSilenceLimitMs = 60'000;
    // The environment variable NORVEL_FETCH_LIMIT (whole seconds) sets
    // another fetch limit for the run.
    static constexpr int DefaultFetchLimitMs = 10 * 60'000;

    explicit FetchLimits(QObject* parent = nullptr);

    void setSilenceLimit(int milliseconds) { silenceLimitMs_ = milliseconds; }
    int silenceLimit() const { return silenceLimitMs_; }
    void setFetchLimit(int milliseconds) { fetchLimitMs_ = milliseconds; }
    int fetchLimit() const { return fetchLimitMs_; }

    // A fetch began: the fetch limit counts from now.
    void startFetch();
    // Bytes moved, or a connection is being made: the silence limit counts
    // from now.
    void activity();
    // The connection is gone: silence is no longer watched, until the next
    // activity.
    void stopSilence();
    // The fetch ended: neither limit is watched.
    void stop();

    // The control's status when a limit ended the fetch, in whole seconds;
    // the fetch limit's also names the bytes received by then.
    QString silenceStatus() const;
    QString fetchLimitStatus(qsizetype received) const;

Q_SIGNALS:
    void silenceReached();
    void fetchLimitReached();

private:
    void onSilenceTimer();

    int silenceLimitMs_ = DefaultSilenceLimitMs;
    int fetchLimitMs_ = DefaultFetchLimitMs;
    QTimer silence_;
    // Bytes moved last this long ago: the silence timer, armed once per
    // fetch, looks at it when it fires instead of being restarted for every
    // piece of the answer.
    QElapsedTimer lastActivity_;
    QTimer fetchLimit_;
};
