#pragma once
// The face of the download control: a framed panel with the caption
// "Обмен данными:", the status label St and the activity picture I1 showing
// one of six frames P. A socket error is drawn as a link (blue, underlined,
// hand pointer); a click on it opens the socket-error window through the
// control. The control changes its status several times a fetch: the face
// shows the latest status and frame once per frame (RepaintPacer).

#include <QFrame>
#include <QPixmap>
#include <array>

class Download_Control;
class ElidedLabel;
class QLabel;
class RepaintPacer;

class DownloadControlView : public QFrame {
    Q_OBJECT

public:
    explicit DownloadControlView(Download_Control* control, QWidget* parent = nullptr);

    // The six activity pictures, drawn once, size pixels of the window
    // wide, each of ratio screen pixels (sharp on high-density screens).
    static std::array<QPixmap, 6> MakeFrames(int size, qreal ratio = 1.0);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();

    Download_Control* control_;
    QLabel* Label1;
    ElidedLabel* St; // a text too long for it ends in "…", whole in the tooltip
    QLabel* I1;
    std::array<QPixmap, 6> P;
    RepaintPacer* pacer_;
    bool shownAsLink_ = false;
    int shownFrame_ = 0;
};
