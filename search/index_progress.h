#pragma once
// Index work on another thread, waited for by a window that goes on
// answering: an archive without an index is indexed whole first, which
// takes seconds for years of issues, and the count of issues is shown.

#include <QCoreApplication>
#include <QEventLoop>
#include <QString>
#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <memory>

namespace search {

// Issues done and in all of a build of the whole index; written by the
// thread that indexes, read by the one that waits.
struct IndexProgress {
    std::atomic<int> done = 0;
    std::atomic<int> total = 0;

    // What the indexing reports to; progress must outlive the indexing.
    static std::function<void(int, int)> Reporter(const std::shared_ptr<IndexProgress>& progress) {
        return [progress](int done, int total) {
            progress->total = total;
            progress->done = done;
        };
    }
};

// The line that counts the issues of a build of the whole index.
inline QString IndexingLine(int done, int total) {
    return QStringLiteral("Индексация архива: %1 из %2").arg(done).arg(total);
}

// Waits for work with the event loop running (as flags allow), calling
// show with "Индексация архива: N из M" each time N has moved on.
template <typename T>
T WaitAnswering(std::future<T>& work, const IndexProgress& progress,
                const std::function<void(const QString&)>& show,
                QEventLoop::ProcessEventsFlags flags = QEventLoop::AllEvents) {
    int shown = 0;
    while (work.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready) {
        if (const int done = progress.done; done != shown) {
            shown = done;
            show(IndexingLine(done, progress.total));
        }
        QCoreApplication::processEvents(flags);
    }
    return work.get();
}

} // namespace search
