// Where the walks start: the operating system's random generator, never a time seed.

#include "EcReference.h"
#include "engine/random/SystemRandom.h"
#include "engine/search/Search.h"

#include <bitset>
#include <gtest/gtest.h>
#include <set>

namespace tarwick::engine {
namespace {

TEST(SearchRandom, DistinctValidStartKeysFromRandomBytesOfAnyLength) {
    SystemStartKeys starts;
    std::set<std::string> seen;
    for (int i = 0; i < 256; ++i) {
        test::Key key;
        starts.nextStart().toBytes(key.data());
        ASSERT_TRUE(test::referenceKeyValid(key)) << test::toHex(key);
        seen.insert(test::toHex(key));
    }
    EXPECT_EQ(seen.size(), 256u);
    std::vector<std::uint8_t> bytes(1 << 16);
    systemRandomBytes(bytes.data(), bytes.size());
    std::size_t ones = 0;
    for (std::uint8_t b : bytes) {
        ones += std::bitset<8>(b).count();
    }
    // 524288 bits: the count of ones lies within 6 standard deviations (362) of half.
    EXPECT_NEAR(static_cast<double>(ones), 4.0 * static_cast<double>(bytes.size()), 6 * 362.0);
    std::vector<std::uint8_t> again(bytes.size());
    systemRandomBytes(again.data(), again.size());
    EXPECT_NE(bytes, again);
    // Lengths that are not a multiple of anything in particular, and zero.
    std::uint8_t odd[37] = {};
    systemRandomBytes(odd, sizeof odd);
    systemRandomBytes(odd, 0);
}

} // namespace
} // namespace tarwick::engine
