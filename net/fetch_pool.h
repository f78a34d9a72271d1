#pragma once
// FetchPool: the pages or pictures of an issue fetched several at a time.
// Over a real network each request waits for its round trips, so one fetch
// after another leaves the line idle most of the time; the pool keeps up to
// `connections` fetches of a planned list running ahead of the caller, each
// on a Download_Control of its own set up like the lead's (host, proxy,
// credentials, trust, limits, traffic counter, and the lead's cache).
//
// The caller keeps its one-at-a-time loop and asks Take(path) where it asked
// the lead's Down(path): the answer is the one Down would have given, and it
// is handed out in the caller's order whatever order the answers came in.
// A Stopped() of the lead stops every fetch in flight, and every Take from
// then on returns "stop". Whatever is still running when the pool goes is
// abandoned.
//
// Answers held for the caller are bounded: once that many wait to be taken,
// no new fetch begins until the caller takes one (pictures planned during
// the page loop must not pile up in memory while pages are processed).

#include "settings/bytetext.h"

#include <QList>
#include <QObject>
#include <memory>
#include <vector>

class Download_Control;
class QEventLoop;

class FetchPool : public QObject {
    Q_OBJECT

public:
    FetchPool(Download_Control& lead, int connections);
    ~FetchPool() override;

    // The paths the caller will take, in its order, from the lead's current
    // host; fetching begins at once.
    void Plan(const QList<ByteText>& paths, bool useCache);
    // More paths the caller will take after those planned, from the lead's
    // current host.
    void Append(const QList<ByteText>& paths);
    // The answer for the next planned fetch of path, waiting for it while
    // the event loop runs; a path not planned is fetched by the lead.
    ByteText Take(const ByteText& path);

private:
    struct Item {
        ByteText host;
        ByteText path;
        ByteText result;
        bool done = false;
        bool taken = false;
    };
    void fill();
    void onFetched(Download_Control* worker, const ByteText& result);
    void stopAll();

    Download_Control& lead_;
    std::vector<std::unique_ptr<Download_Control>> workers_;
    std::vector<int> running_; // per worker, the item it fetches; -1 none
    QList<Item> items_;
    qsizetype next_ = 0;    // the first item not yet begun
    qsizetype waiting_ = 0; // answers in, not yet taken
    bool useCache_ = false;
    bool stopped_ = false;
    bool woken_ = false; // the wait was ended by an answer or a stop
    QEventLoop* wait_ = nullptr;
};
