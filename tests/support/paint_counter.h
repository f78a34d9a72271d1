#pragma once
// Counts the paint events a widget receives while it is watched.

#include <QEvent>
#include <QObject>
#include <QWidget>

class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* watched) : watched_(watched) {
        watched->installEventFilter(this);
    }
    ~PaintCounter() override { watched_->removeEventFilter(this); }
    int paints() const { return paints_; }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        paints_ += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }

private:
    QWidget* watched_;
    int paints_ = 0;
};
