#pragma once
// The visible part of the preview control: shows the off-screen surface and
// passes mouse and keyboard input to the control.

#include <QImage>
#include <QWidget>

#include <functional>

namespace htmlview {

class HtmlViewport : public QWidget {
    Q_OBJECT
public:
    explicit HtmlViewport(const QImage& surface, QWidget* parent = nullptr);

    std::function<void(QMouseEvent*)> onMouseMove;
    std::function<void(QMouseEvent*)> onMouseRelease;
    // Returns whether the key was used; an unused key goes on to the parent.
    std::function<bool(QKeyEvent*)> onKeyPress;
    std::function<void(QWheelEvent*)> onWheel;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    const QImage& surface_;
};

} // namespace htmlview
