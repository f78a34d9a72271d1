// The share of an issue done and the time left, pages and pictures together.
#include "app/download_progress.h"

#include <gtest/gtest.h>

namespace {

TEST(DownloadProgress, PicturesAreEstimatedFromThePagesReadAndTheShareNeverGoesBack) {
    DownloadProgress p;
    p.Start();
    EXPECT_EQ(p.Percent(), 0);
    EXPECT_EQ(p.Text(), "0%");
    // 4 pages; the first brings 6 pictures: 4 + 24 expected, 1 done.
    p.PageDone(1, 4, 6, 1000);
    EXPECT_EQ(p.Percent(), 3);
    EXPECT_EQ(p.SecondsLeft(), -1) << "one step shows no pace yet";
    // The second brings none: 4 + 12 expected, 2 done.
    p.PageDone(2, 4, 6, 2000);
    EXPECT_EQ(p.Percent(), 12);
    EXPECT_EQ(p.SecondsLeft(), 14) << "one step a second, 14 to go";
    // The third brings 30: the estimate jumps up, the share stays.
    p.PageDone(3, 4, 36, 3000);
    EXPECT_EQ(p.Percent(), 12);
    p.PageDone(4, 4, 36, 4000);
    EXPECT_EQ(p.Percent(), 12) << "4 of 40";
    for (int i = 1; i <= 36; ++i)
        p.PictureDone(i, 36, 4000 + i * 100);
    EXPECT_EQ(p.Percent(), 100);
    EXPECT_EQ(p.SecondsLeft(), 0);
    EXPECT_EQ(p.Text(), "100%");
}

TEST(DownloadProgress, WithoutPicturesTheLastPageIsTheWholeIssue) {
    DownloadProgress p;
    p.Start();
    p.PageDone(1, 2, 0, 0);
    EXPECT_EQ(p.Percent(), 50);
    p.PageDone(2, 2, 0, 90'000);
    EXPECT_EQ(p.Percent(), 100);
}

TEST(DownloadProgress, TheTimeLeftIsShownAsHoursMinutesAndSeconds) {
    DownloadProgress p;
    p.Start();
    p.PageDone(1, 100, 0, 0);
    p.PageDone(2, 100, 0, 65'000);
    EXPECT_EQ(p.Text(), QString::fromUtf8("2% — осталось 1:46:10"));
    p.Start();
    EXPECT_EQ(p.Text(), "0%") << "a new download starts from nothing";
}

} // namespace
