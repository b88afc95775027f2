// Which work the miner takes: items grouped by public key, the group with the highest total
// value (reward per billion expected keys) wins.

#include "pool/WorkSelection.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

using namespace tarwick::pool;

WorkItem item(std::uint8_t keyByte, const std::string& pattern, double reward, double difficulty) {
    WorkItem w;
    w.pattern = pattern;
    w.publicKey.fill(keyByte);
    w.publicKey[0] = 4;
    w.reward = reward;
    w.difficulty = difficulty;
    return w;
}

TEST(WorkSelection, ValueIsRewardPerBillionKeys) {
    EXPECT_DOUBLE_EQ(itemValue(item(1, "1Abc", 0.05, 77178)), 0.05 * 1e9 / 77178);
    EXPECT_DOUBLE_EQ(itemValue(item(1, "1Abc", 0, 77178)), 0);
}

TEST(WorkSelection, HighestTotalValueWinsAndKeepsAllItsPatterns) {
    // Key 2 has the most valuable single item, but key 3's two items are worth more together.
    const std::vector<WorkItem> items = {
        item(1, "1Abc", 0.01, 77178), item(2, "1Love", 10, 4476342), item(3, "1Xyz", 8, 4553521),
        item(3, "1bit", 8, 4553521),  item(1, "1Bcd", 0.02, 77178),
    };
    const auto group = selectWork(items);
    ASSERT_TRUE(group);
    EXPECT_EQ(group->publicKey[1], 3);
    ASSERT_EQ(group->items.size(), 2u);
    EXPECT_EQ(group->items[0].pattern, "1Xyz");
    EXPECT_EQ(group->items[1].pattern, "1bit");
    EXPECT_DOUBLE_EQ(group->value, 2 * 8 * 1e9 / 4553521);
}

TEST(WorkSelection, EarlierGroupWinsATieAndNothingFromNothing) {
    EXPECT_FALSE(selectWork({}));
    const auto group = selectWork({item(5, "1Ab", 0, 1330), item(6, "1Ab", 0, 1330)});
    ASSERT_TRUE(group);
    EXPECT_EQ(group->publicKey[1], 5);
}

TEST(WorkSelection, FiftyThousandKeysAreGroupedAndTheGroupAndItsLineAreCapped) {
    // A pool listing 50,000 keys, and 1,000 items for the most valuable one.
    std::vector<WorkItem> items;
    for (std::uint32_t i = 0; i < 50000; ++i) {
        WorkItem w = item(0, "1Ab", 0.001, 1330);
        std::memcpy(w.publicKey.data() + 1, &i, sizeof i);
        items.push_back(w);
    }
    for (int i = 0; i < 1000; ++i)
        items.push_back(item(0xEE, "1Abc" + std::to_string(i % 10), 0.01 + i * 1e-6, 77178));
    const auto group = selectWork(items);
    ASSERT_TRUE(group);
    EXPECT_EQ(group->publicKey[1], 0xEE);
    ASSERT_EQ(group->items.size(), kMaxGroupItems);
    EXPECT_DOUBLE_EQ(group->items.front().reward, 0.01 + 999e-6); // the most valuable first
    const std::string line = workLine(*group);
    EXPECT_EQ(line.rfind("Work: 256 patterns for public key 04EEEEEEEE..EEEEEE, ", 0), 0u) << line;
    EXPECT_NE(line.find(" and " + std::to_string(kMaxGroupItems - kPatternsShown) + " more"),
              std::string::npos)
        << line;
    EXPECT_LT(line.size(), 300u) << line;
}

TEST(WorkSelection, SameSearchComparesKeyAndPatterns) {
    WorkGroup a{item(1, "", 0, 1).publicKey, {item(1, "1Ab", 1, 1330), item(1, "1Cd", 1, 1330)}, 0};
    WorkGroup b = a;
    b.items[0].reward = 5; // another reward is still the same search
    EXPECT_TRUE(sameSearch(a, b));
    b.items.pop_back();
    EXPECT_FALSE(sameSearch(a, b));
    WorkGroup c = a;
    c.publicKey[1] = 9;
    EXPECT_FALSE(sameSearch(a, c));
}

} // namespace
