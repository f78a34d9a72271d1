// Memory follows what is drawn: not how far down it lies, not how many
// different texts were measured on the way.
#include "htmlview/text_metrics.h"
#include "laid_out_document.h"

#include <gtest/gtest.h>

namespace htmlview::test {
namespace {

// Each item costs its record, its text and an entry or two of the index,
// with room for the vectors' growth.
constexpr size_t kBytesPerItem = 200;

TEST(Memory, ShortTextFarDownCostsWhatItDraws) {
    // A thousand pictures a million pixels tall put the last word a billion
    // pixels down.
    const LaidOutDocument d("<html><body>" +
                                Repeated("<img src=a width=300 height=1000000>", 1000) +
                                "last</body></html>",
                            400, 300, PicturesOf(8, 8));
    const DrawItem* last = d.drawn(QStringLiteral("last"));
    ASSERT_NE(last, nullptr);
    EXPECT_GT(last->y1, 900'000'000);
    const LayoutFigures& f = d.renderer.figures();
    EXPECT_EQ(f.items, 1001u);
    EXPECT_LT(f.displayListBytes, f.items * kBytesPerItem + 4096);
}

TEST(Memory, LongNumberedListStaysLinearAndItsWidthsBounded) {
    auto figuresOf = [](int items) {
        const LaidOutDocument d("<html><body><ol>" + Repeated("<li>x", items) + "</ol></body>");
        return d.renderer.figures();
    };
    const LayoutFigures half = figuresOf(50'000);
    const LayoutFigures whole = figuresOf(100'000);
    // A number and a word per item.
    EXPECT_EQ(whole.items, 200'000u);
    EXPECT_LT(whole.displayListBytes, whole.items * kBytesPerItem);
    EXPECT_LT(double(whole.displayListBytes) / double(half.displayListBytes), 2.5);
    // 100,000 different numbers measured, a bounded number kept.
    EXPECT_LE(whole.cachedWidths, size_t(TextMetrics::kMaxCachedWidths) + 16);
}

} // namespace
} // namespace htmlview::test
