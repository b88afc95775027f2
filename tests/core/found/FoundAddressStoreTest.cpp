#include "core/found/FoundAddressStore.h"

#include <gtest/gtest.h>
#include <string>

namespace tarwick {
namespace {

TEST(FoundAddressStore, KeepsOrderOfAddition) {
    FoundAddressStore store;
    EXPECT_TRUE(store.AddFoundAddress(false, "1A", "1Aaa", "5Ka"));
    EXPECT_TRUE(store.AddFoundAddress(true, "1B", "1Bbb", "5Kb"));
    EXPECT_TRUE(store.AddFoundAddress(true, "1C", "1Ccc", "5Kc"));
    ASSERT_EQ(store.size(), 3u);
    EXPECT_EQ(store[0], (FoundAddress{false, "1A", "1Aaa", "5Ka"}));
    EXPECT_EQ(store[1], (FoundAddress{true, "1B", "1Bbb", "5Kb"}));
    EXPECT_EQ(store[2], (FoundAddress{true, "1C", "1Ccc", "5Kc"}));
}

TEST(FoundAddressStore, DuplicateIsDecidedByPublicAddressAlone) {
    struct Case {
        const char* what;
        std::string pattern, address, key;
        bool added;
    };
    const Case cases[] = {
        {"same address, other pattern and key", "1Other", "1Jennyx", "5Kother", false},
        {"same address, same everything", "1Jenny", "1Jennyx", "5Kjenny", false},
        {"address differing in case only", "1Jenny", "1JennyX", "5Kjenny", true},
        {"address with a trailing blank", "1Jenny", "1Jennyx ", "5Kjenny", true},
        {"empty address is an address too", "1Jenny", "", "5Kjenny", true},
    };
    for (const Case& c : cases) {
        FoundAddressStore store;
        ASSERT_TRUE(store.AddFoundAddress(false, "1Jenny", "1Jennyx", "5Kjenny"));
        EXPECT_EQ(store.AddFoundAddress(true, c.pattern, c.address, c.key), c.added) << c.what;
        EXPECT_EQ(store.size(), c.added ? 2u : 1u) << c.what;
        // The stored record is never touched by a refused duplicate.
        EXPECT_EQ(store[0], (FoundAddress{false, "1Jenny", "1Jennyx", "5Kjenny"})) << c.what;
    }
}

TEST(FoundAddressStore, RemovalClosesTheGapAndFreesTheAddress) {
    FoundAddressStore store;
    for (const char* address : {"1A", "1B", "1C", "1D"})
        store.AddFoundAddress(false, "p", address, "k");
    EXPECT_TRUE(store.remove(1));
    ASSERT_EQ(store.size(), 3u);
    EXPECT_EQ(store[0].publicAddress, "1A");
    EXPECT_EQ(store[1].publicAddress, "1C");
    EXPECT_EQ(store[2].publicAddress, "1D");
    EXPECT_FALSE(store.contains("1B"));
    EXPECT_TRUE(store.contains("1C"));
    EXPECT_FALSE(store.remove(3));
    EXPECT_EQ(store.size(), 3u);
    // A removed address can be found again and goes to the end.
    EXPECT_TRUE(store.AddFoundAddress(true, "p", "1B", "k2"));
    EXPECT_EQ(store[3], (FoundAddress{true, "p", "1B", "k2"}));
    EXPECT_FALSE(store.AddFoundAddress(true, "p", "1D", "k3"));

    // Removal by value: the given addresses go, the others keep their order and their place.
    EXPECT_EQ(store.indexOf("1D"), 2u);
    store.removeAddresses({"1A", "1C", "1Unknown"});
    ASSERT_EQ(store.size(), 2u);
    EXPECT_EQ(store.indexOf("1D"), 0u);
    EXPECT_EQ(store.indexOf("1B"), 1u);
    EXPECT_EQ(store.indexOf("1A"), std::nullopt);
    EXPECT_TRUE(store.AddFoundAddress(true, "p", "1A", "k"));
}

TEST(FoundAddressStore, LargeStoreRefusesEveryDuplicate) {
    FoundAddressStore store;
    for (int i = 0; i < 20000; ++i)
        ASSERT_TRUE(store.AddFoundAddress(false, "1P", "1Addr" + std::to_string(i), "5K"));
    for (int i = 0; i < 20000; i += 7)
        EXPECT_FALSE(store.AddFoundAddress(true, "x", "1Addr" + std::to_string(i), "y"));
    EXPECT_EQ(store.size(), 20000u);
    EXPECT_EQ(store[19999].publicAddress, "1Addr19999");
}

} // namespace
} // namespace tarwick
