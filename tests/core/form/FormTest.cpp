#include "core/form/ChoiceLists.h"
#include "core/layout/DialogUnits.h"

#include <gtest/gtest.h>

namespace tarwick {
namespace {

TEST(ChoiceLists, ItemsAndTheFallbackOfAStoredIndex) {
    EXPECT_TRUE(cpuThreadItems(-3).empty());
    for (const auto& [stored, count, expected] :
         {std::tuple{2, 3, 2}, {3, 3, 0}, {-1, 24, 0}, {-2147483647 - 1, 24, 0}, {5, 0, -1}}) {
        EXPECT_EQ(selectableIndex(stored, count), expected) << stored << "/" << count;
    }
}

TEST(DialogUnits, RoundingOfBaseUnitsAndRects) {
    // 52 letters 286 px wide: 11 per pair of letters, so 5.5 rounds up to 6; 285 px gives 5.
    EXPECT_EQ(baseUnitsFromFont(286, 13).averageCharWidth, 6);
    EXPECT_EQ(baseUnitsFromFont(285, 13).averageCharWidth, 5);
    EXPECT_EQ(baseUnitsFromFont(364, 16).charHeight, 16);
    const std::tuple<int, int, int, int> products[] = {
        {7, 6, 4, 11},  {5, 1, 2, 3}, {-5, 1, 2, -3},
        {5, -1, 2, -3}, {3, 4, 0, 0}, {2'000'000'000, 3, 4, 1'500'000'000}};
    for (const auto& [a, b, c, expected] : products) {
        EXPECT_EQ(mulDivRounded(a, b, c), expected) << a << "*" << b << "/" << c;
    }
    const DialogBaseUnits base{7, 16};
    EXPECT_EQ(dialogRectToPixels(7, 192, 283, 86, base), (PixelRect{12, 384, 496, 172}));
    // Right edge equals the left edge of a control that starts where this one ends.
    const PixelRect left = dialogRectToPixels(9, 174, 40, 12, base);
    EXPECT_EQ(left.x + left.width, dialogRectToPixels(49, 174, 10, 12, base).x);
}

} // namespace
} // namespace tarwick
