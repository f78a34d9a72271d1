#pragma once
// The share of an issue done while it downloads, pages and pictures
// together, and the time left. The pictures are found only as the pages are
// read, so until the last page their number is estimated from the pages
// read so far; the share shown never goes back.

#include <QString>
#include <cstdint>

class DownloadProgress {
public:
    // A download starts: nothing done yet.
    void Start();
    // Page n of count has been read at nowMs (a steady clock in
    // milliseconds); picturesFound pictures are to be fetched for the pages
    // read so far (0 when pictures are not fetched).
    void PageDone(int n, int count, int picturesFound, int64_t nowMs);
    // Picture i of count has been fetched at nowMs (count known by now).
    void PictureDone(int i, int count, int64_t nowMs);

    // 0 to 100.
    int Percent() const { return percent_; }
    // Seconds left at the pace since the first page was read; -1 until a
    // second step has shown the pace.
    int SecondsLeft() const { return secondsLeft_; }
    // "42%", with " — осталось H:MM:SS" once the time left is known.
    QString Text() const;

private:
    void update(double done, double total, int64_t nowMs);

    int pages_ = 0;
    // The first step reported: the pace is measured from here, so the time
    // spent choosing the issue does not count.
    bool started_ = false;
    double firstDone_ = 0;
    int64_t firstDoneMs_ = 0;
    int percent_ = 0;
    int secondsLeft_ = -1;
};
