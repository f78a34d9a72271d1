#include "app/download_progress.h"

#include "app/global.h"

#include <algorithm>
#include <cmath>

void DownloadProgress::Start() {
    *this = DownloadProgress{};
}

void DownloadProgress::PageDone(int n, int count, int picturesFound, int64_t nowMs) {
    if (n <= 0 || count <= 0)
        return;
    pages_ = count;
    const double picturesExpected = double(picturesFound) * count / n;
    update(n, count + picturesExpected, nowMs);
}

void DownloadProgress::PictureDone(int i, int count, int64_t nowMs) {
    if (count <= 0)
        return;
    update(pages_ + i, pages_ + count, nowMs);
}

void DownloadProgress::update(double done, double total, int64_t nowMs) {
    if (total <= 0)
        return;
    done = std::min(done, total);
    percent_ = std::max(percent_, int(std::floor(100.0 * done / total)));
    if (!started_) {
        started_ = true;
        firstDone_ = done;
        firstDoneMs_ = nowMs;
        return;
    }
    const double steps = done - firstDone_;
    const double seconds = double(std::max<int64_t>(1, nowMs - firstDoneMs_)) / 1000.0;
    if (steps > 0)
        secondsLeft_ = int(std::ceil(seconds * (total - done) / steps));
}

QString DownloadProgress::Text() const {
    QString text = QString::number(percent_) + "%";
    if (secondsLeft_ >= 0 && percent_ < 100)
        text += QString::fromUtf8(" — осталось ") + ElapsedText(secondsLeft_);
    return text;
}
