#include "core/layout/DialogUnits.h"

#include <gtest/gtest.h>

namespace tarwick {
namespace {

TEST(DialogUnits, BaseUnitsAverageTheAlphabetWithRounding) {
    // 52 letters 286 px wide: 11 per pair of letters, so 5.5 rounds up to 6; 285 px gives 5.
    EXPECT_EQ(baseUnitsFromFont(286, 13).averageCharWidth, 6);
    EXPECT_EQ(baseUnitsFromFont(285, 13).averageCharWidth, 5);
    EXPECT_EQ(baseUnitsFromFont(364, 16).charHeight, 16);
}

TEST(DialogUnits, MulDivRoundsHalvesAwayFromZero) {
    struct Case {
        int a, b, c, expected;
    };
    for (const Case& t :
         {Case{7, 6, 4, 11}, Case{5, 1, 2, 3}, Case{-5, 1, 2, -3}, Case{5, -1, 2, -3},
          Case{3, 4, 0, 0}, Case{2'000'000'000, 3, 4, 1'500'000'000}})
        EXPECT_EQ(mulDivRounded(t.a, t.b, t.c), t.expected) << t.a << "*" << t.b << "/" << t.c;
}

TEST(DialogUnits, RectsKeepEdgesOfNeighboursAligned) {
    const DialogBaseUnits base{7, 16};
    // The form's console box and the Vanitygen picture beside it.
    EXPECT_EQ(dialogRectToPixels(7, 192, 283, 86, base), (PixelRect{12, 384, 496, 172}));
    // Right edge equals the left edge of a control that starts where this one ends.
    const PixelRect left = dialogRectToPixels(9, 174, 40, 12, base);
    EXPECT_EQ(left.x + left.width, dialogRectToPixels(49, 174, 10, 12, base).x);
}

} // namespace
} // namespace tarwick
