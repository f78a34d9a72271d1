#include "net/download_face.h"

#include "settings/messenger.h"
#include "settings/program_folder.h"

#include <QFileInfo>
#include <algorithm>
#include <limits>

DownloadFace::DownloadFace(QObject* parent) : QObject(parent) {
    animation_.setInterval(AnimationIntervalMs);
    connect(&animation_, &QTimer::timeout, this, &DownloadFace::advanceFrame);
}

void DownloadFace::setStatus(const QString& text, bool asLink) {
    status_ = text;
    statusIsLink_ = asLink;
    Q_EMIT statusChanged(text, asLink);
}

void DownloadFace::startAnimation() {
    animation_.start();
}

void DownloadFace::stopAnimation() {
    animation_.stop();
    frame_ = 0;
    Q_EMIT frameChanged(frame_);
}

void DownloadFace::advanceFrame() {
    frame_ = (frame_ + 1) % FrameCount;
    Q_EMIT frameChanged(frame_);
}

void DownloadFace::setTrafficCounter(int32_t* counter) {
    traffic_ = counter ? counter : &ownTraffic_;
}

void DownloadFace::addTraffic(qsizetype bytes) {
    const int64_t sum = int64_t(*traffic_) + bytes;
    *traffic_ = int32_t(std::min<int64_t>(sum, std::numeric_limits<int32_t>::max()));
    Q_EMIT trafficChanged(TrafficText(*traffic_));
}

QString DownloadFace::TrafficText(int32_t bytes) {
    return QStringLiteral("Трафик: %1 Кб").arg(bytes / 1024);
}

void DownloadFace::setErrorWindowOpener(std::function<void(const QString&)> opener) {
    errorWindowOpener_ = std::move(opener);
}

void DownloadFace::statusClicked() {
    if (!statusIsLink_)
        return;
    const QString path = ProgramFolder() + "/data/wserror.dat";
    if (QFileInfo(path).isFile()) {
        if (errorWindowOpener_)
            errorWindowOpener_(path);
    } else if (messenger_) {
        messenger_->Show(QStringLiteral("Не найден файл с описанием ошибок!\r\n") + path,
                         QStringLiteral("Ошибка"), MessageIcon::Error);
    }
}

#include "moc_download_face.cpp"
