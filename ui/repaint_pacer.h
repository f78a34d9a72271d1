#pragma once
// Shows what changed at most once per frame. During a download the status
// texts, counters and the activity picture change several times a
// millisecond; a widget that asked for a repaint on each change would spend
// the download painting texts nobody can read. A window asks its pacer on
// every change instead, and the pacer runs the window's refresh at the next
// turn of the event loop when the last refresh is a frame old, otherwise at
// the end of the frame. The refresh only sets what changed and leaves the
// painting to update(), so a frame gets one repaint and the last text always
// shows.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

class QWidget;

class RepaintPacer : public QObject {
    Q_OBJECT

public:
    static constexpr int FrameMs = 16;

    // refresh moves the changed state onto the widgets.
    explicit RepaintPacer(std::function<void()> refresh, QObject* parent = nullptr);

    // Something changed: the refresh runs within a frame.
    void request();
    // Whether a refresh waits.
    bool pending() const { return pending_; }
    // For work that keeps the event loop from running (a copy of many
    // files): runs a waiting refresh now when the last one is a frame old.
    // True when it ran.
    bool refreshIfDue();

    // Runs the waiting refreshes of every pacer in window that are due and
    // paints what they changed at once, without the event loop.
    static void PaintIfDue(QWidget* window);

private:
    void run();

    std::function<void()> refresh_;
    QTimer timer_;
    QElapsedTimer lastRun_;
    bool pending_ = false;
};
