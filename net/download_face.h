#pragma once
// DownloadFace: what the download control's face shows, kept apart from
// the widgets that draw it (DownloadControlView) and from the fetching: the
// status label's text and style, the activity picture's frame and its
// animation while a fetch runs, and the traffic counter with its label
// text. A click on a status drawn as a link opens the socket-error window.
// Every change is told by a signal, which the control passes on as its own.

#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <functional>

class Messenger;

class DownloadFace : public QObject {
    Q_OBJECT

public:
    static constexpr int AnimationIntervalMs = 500;
    static constexpr int FrameCount = 6;

    explicit DownloadFace(QObject* parent = nullptr);

    // The status label: its text, and whether it is drawn as a link (blue,
    // underlined, hand pointer), as a socket or TLS error is.
    void setStatus(const QString& text, bool asLink);
    QString status() const { return status_; }
    bool statusIsLink() const { return statusIsLink_; }

    // The activity picture, 0..5: it turns every AnimationIntervalMs while
    // animating and shows frame 0 when stopped.
    void startAnimation();
    void stopAnimation();
    int frame() const { return frame_; }
    bool animating() const { return animation_.isActive(); }

    // The counter sent and received bytes are added to, saturating at the
    // largest int32_t; nullptr for one of the face's own. The pointer must
    // outlive the face or be replaced.
    void setTrafficCounter(int32_t* counter);
    int32_t* trafficCounter() const { return traffic_; }
    int32_t trafficBytes() const { return *traffic_; }
    void addTraffic(qsizetype bytes);
    // "Трафик: " + whole kilobytes + " Кб", as the traffic label shows it.
    static QString TrafficText(int32_t bytes);

    // A click on the status label. In link style it opens the socket-error
    // window through the opener when program folder + "/data/wserror.dat"
    // exists, otherwise says "Не найден файл с описанием ошибок!" through the
    // messenger. Does nothing in normal style.
    void statusClicked();
    void setErrorWindowOpener(std::function<void(const QString& wserrorPath)> opener);
    void setMessenger(Messenger* messenger) { messenger_ = messenger; }

Q_SIGNALS:
    void statusChanged(const QString& text, bool asLink);
    void trafficChanged(const QString& labelText);
    void frameChanged(int frame);

private:
    void advanceFrame();

    QString status_ = QStringLiteral("Ready");
    bool statusIsLink_ = false;
    int frame_ = 0;
    QTimer animation_;
    int32_t ownTraffic_ = 0;
    int32_t* traffic_ = &ownTraffic_;
    Messenger* messenger_ = nullptr;
    std::function<void(const QString&)> errorWindowOpener_;
};
