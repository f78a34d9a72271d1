#include "ui/repaint_pacer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <algorithm>

RepaintPacer::RepaintPacer(std::function<void()> refresh, QObject* parent)
    : QObject(parent), refresh_(std::move(refresh)) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &RepaintPacer::run);
}

void RepaintPacer::request() {
    pending_ = true;
    if (timer_.isActive())
        return;
    const qint64 sinceLast = lastRun_.isValid() ? lastRun_.elapsed() : FrameMs;
    timer_.start(int(std::max<qint64>(0, FrameMs - sinceLast)));
}

bool RepaintPacer::refreshIfDue() {
    if (!pending_ || (lastRun_.isValid() && lastRun_.elapsed() < FrameMs))
        return false;
    run();
    return true;
}

void RepaintPacer::run() {
    timer_.stop();
    if (!pending_)
        return;
    pending_ = false;
    lastRun_.start();
    refresh_();
}

void RepaintPacer::PaintIfDue(QWidget* window) {
    if (!window)
        return;
    bool ran = false;
    for (RepaintPacer* pacer : window->findChildren<RepaintPacer*>())
        ran = pacer->refreshIfDue() || ran;
    // The widgets' update() requests wait in the queue for the window.
    if (ran)
        QCoreApplication::sendPostedEvents(window, QEvent::UpdateRequest);
}

#include "moc_repaint_pacer.cpp"
