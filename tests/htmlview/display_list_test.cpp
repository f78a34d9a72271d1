// The display list's position index finds exactly the items a window meets,
// whatever their height and however they were added.
#include "htmlview/display_list.h"

#include <gtest/gtest.h>

#include <random>

namespace htmlview {
namespace {

TEST(DisplayList, WindowsMeetExactlyTheItemsTheyCross) {
    DisplayList list;
    std::mt19937 random(7);
    // Lines of text top to bottom, with frames drawn after their content,
    // tall pictures and items far down.
    int y = 0;
    for (int i = 0; i < 3000; ++i) {
        y += int(random() % 40);
        const int height = i % 97 == 0 ? int(random() % 100000) : int(random() % 300);
        if (i % 5 == 0)
            list.addLine(0, y + height, 10, std::max(0, y - int(random() % 2000)), kBlack);
        else if (i % 7 == 0)
            list.addPicture(QImage(1, 1, QImage::Format_RGB32), QRect(0, y, 5, height + 1));
        else
            list.addText(0, y, height + 1, "x", FontState{}, kBlack);
    }
    list.addText(0, 1'000'000'000, 16, "far", FontState{}, kBlack);
    for (int window = 0; window < 400; ++window) {
        const int top = window == 0 ? 999'999'990 : int(random() % (y + 1000)) - 500;
        const int bottom = top + 1 + int(random() % 2000);
        std::vector<int> expected;
        for (size_t i = 0; i < list.items().size(); ++i) {
            const DrawItem& d = list.items()[i];
            if (d.bottom() > top && d.top() < bottom)
                expected.push_back(int(i));
        }
        ASSERT_EQ(list.itemsBetween(top, bottom), expected) << top << " to " << bottom;
    }
}

} // namespace
} // namespace htmlview
