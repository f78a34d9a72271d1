#include "net/fetch_pool.h"

#include "net/download_control.h"

#include <QEventLoop>
#include <algorithm>
#include <utility>

FetchPool::FetchPool(Download_Control& lead, int connections) : lead_(lead) {
    for (int i = 0; i < std::max(connections, 1); ++i) {
        auto worker = std::make_unique<Download_Control>();
        Download_Control* control = worker.get();
        connect(control, &Download_Control::fetched, this,
                [this, control](const ByteText& result) { onFetched(control, result); });
        // What a fetch has to say reaches the window as the lead's words.
        connect(control, &Download_Control::statusChanged, &lead_,
                &Download_Control::statusChanged);
        connect(control, &Download_Control::trafficChanged, &lead_,
                &Download_Control::trafficChanged);
        connect(control, &Download_Control::mainStatusChanged, &lead_,
                &Download_Control::mainStatusChanged);
        connect(control, &Download_Control::connectionFailed, &lead_,
                &Download_Control::connectionFailed);
        workers_.push_back(std::move(worker));
        running_.push_back(-1);
    }
    connect(&lead_, &Download_Control::stopRequested, this, &FetchPool::stopAll);
}

FetchPool::~FetchPool() {
    if (wait_)
        wait_->quit();
    // Abandoned fetches end quietly: nobody waits for their answers.
    for (auto& worker : workers_)
        worker->disconnect(this);
}

void FetchPool::Plan(const QList<ByteText>& paths, bool useCache) {
    useCache_ = useCache;
    items_.clear();
    next_ = 0;
    waiting_ = 0;
    Append(paths);
}

void FetchPool::Append(const QList<ByteText>& paths) {
    for (const ByteText& path : paths)
        items_.append(Item{lead_.RemoteHost(), path, {}, false, false});
    fill();
}

void FetchPool::fill() {
    // The caller takes items in order, so the one it waits for has always
    // begun before any answer can wait behind it: the bound never stalls it.
    const qsizetype maxWaiting = std::max<qsizetype>(32, 8 * qsizetype(workers_.size()));
    for (size_t w = 0; w < workers_.size() && next_ < items_.size() && !stopped_; ++w) {
        if (running_[w] >= 0 || waiting_ >= maxWaiting)
            continue;
        running_[w] = int(next_);
        workers_[w]->configureLike(lead_);
        workers_[w]->RHost(items_[next_].host);
        workers_[w]->Start(items_[next_++].path, useCache_);
    }
}

void FetchPool::onFetched(Download_Control* worker, const ByteText& result) {
    for (size_t w = 0; w < workers_.size(); ++w) {
        if (workers_[w].get() != worker || running_[w] < 0)
            continue;
        Item& item = items_[running_[w]];
        item.result = result;
        item.done = true;
        ++waiting_;
        running_[w] = -1;
    }
    fill();
    woken_ = true;
    if (wait_)
        wait_->quit();
}

void FetchPool::stopAll() {
    if (stopped_)
        return;
    stopped_ = true;
    for (auto& worker : workers_)
        worker->Stopped();
    woken_ = true;
    if (wait_)
        wait_->quit();
}

ByteText FetchPool::Take(const ByteText& path) {
    qsizetype at = 0;
    while (at < items_.size() && (items_[at].taken || items_[at].path != path))
        ++at;
    if (at == items_.size())
        return stopped_ ? ByteText("stop") : lead_.Down(path, useCache_);
    Item& item = items_[at];
    while (!item.done && !stopped_) {
        QEventLoop loop;
        wait_ = &loop;
        woken_ = false;
        loop.exec();
        wait_ = nullptr;
        // A loop that ended by itself: the application is quitting.
        if (!woken_)
            stopAll();
    }
    item.taken = true;
    if (item.done) {
        --waiting_;
        fill();
    }
    return stopped_ ? ByteText("stop") : std::exchange(item.result, {});
}

#include "moc_fetch_pool.cpp"
