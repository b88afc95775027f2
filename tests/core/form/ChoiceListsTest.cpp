#include "core/form/ChoiceLists.h"

#include <gtest/gtest.h>

namespace tarwick {
namespace {

TEST(ChoiceLists, OpenClItemsArePlatformByPlatform) {
    const auto items = openClDeviceItems();
    ASSERT_EQ(items.size(), 24u);
    EXPECT_EQ(items.front(), "0:0");
    EXPECT_EQ(items[5], "0:5");
    EXPECT_EQ(items[6], "1:0");
    EXPECT_EQ(items.back(), "3:5");
}

TEST(ChoiceLists, ThreadItemsCountUpToTheProcessors) {
    EXPECT_EQ(cpuThreadItems(8),
              (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7", "8"}));
    EXPECT_TRUE(cpuThreadItems(0).empty());
    EXPECT_TRUE(cpuThreadItems(-3).empty());
}

TEST(ChoiceLists, StoredIndexOutsideItsListFallsBackToTheFirstItem) {
    struct Case {
        int stored, count, expected;
    };
    for (const Case& t :
         {Case{0, 3, 0}, Case{2, 3, 2}, Case{3, 3, 0}, Case{15, 2, 0}, Case{-1, 24, 0},
          Case{-2147483647 - 1, 24, 0}, Case{0, 0, -1}, Case{5, 0, -1}})
        EXPECT_EQ(selectableIndex(t.stored, t.count), t.expected) << t.stored << "/" << t.count;
}

} // namespace
} // namespace tarwick
