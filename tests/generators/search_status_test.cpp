// The status line the front-end reads: bracketed groups, the key rate first.

#include "engine/search/StatusLine.h"

#include <gtest/gtest.h>

namespace tarwick::engine {
namespace {

SearchStatus figures(double rate, std::uint64_t total, std::uint64_t sinceFind, double difficulty) {
    SearchStatus s;
    s.keysPerSecond = rate;
    s.totalKeys = total;
    s.keysSinceLastFind = sinceFind;
    s.difficulty = difficulty;
    s.patterns = 2;
    return s;
}

TEST(SearchStatusLine, GroupsWithProbabilityTimeAndFound) {
    SearchStatus s = figures(12.34e6, 123456789, 131028262, 1e9);
    s.found = 1;
    // 1 - e^(-0.131) = 12.3%; (1e9 ln 2 - 131028262) / 12.34e6 = 45.6 s
    EXPECT_EQ(formatStatusGroups(s),
              "[12.34 Mkey/s][total 123456789][Prob 12.3%][50% in 45.6s][Found 1/2]");
}

TEST(SearchStatusLine, NextTargetOnceHalfIsPassed) {
    // 95% of the difficulty done: 61.3%, and 75% is the next target.
    const SearchStatus s = figures(12.34e6, 950000000, 950000000, 1e9);
    EXPECT_EQ(formatStatusGroups(s), "[12.34 Mkey/s][total 950000000][Prob 61.3%][75% in 35.4s]");
}

TEST(SearchStatusLine, ProbabilityGoesPast99Point9) {
    const SearchStatus s = figures(1000, 10000, 10000, 1000);
    EXPECT_EQ(formatStatusGroups(s), "[1000.00 key/s][total 10000]");
}

TEST(SearchStatusLine, ImpossiblePatternReadsSensibly) {
    const SearchStatus s = figures(1e6, 5000000, 5000000, 1e30);
    EXPECT_EQ(formatStatusGroups(s),
              "[1000.00 Kkey/s][total 5000000][Prob 0.0%][50% in 2.197955e+16y]");
}

TEST(SearchStatusLine, KeepGoingCountsFindsWithoutATotal) {
    SearchStatus s = figures(0, 0, 0, 22);
    s.found = 3;
    s.keepGoing = true;
    EXPECT_EQ(formatStatusGroups(s), "[0.00 key/s][total 0][Prob 0.0%][Found 3]");
}

TEST(SearchStatusLine, RefreshStartsWithCarriageReturnAndCoversOldText) {
    const SearchStatus s = figures(500, 1, 1, 1e9);
    const std::string line = formatStatusRefresh(s);
    ASSERT_EQ(line.size(), 80u);
    EXPECT_EQ(line[0], '\r');
    EXPECT_EQ(line.substr(1, formatStatusGroups(s).size()), formatStatusGroups(s));
    EXPECT_EQ(line.back(), ' ');
    SearchStatus wide = figures(12.34e6, 12345678901234567ull, 131028262, 1e30);
    wide.found = 10;
    wide.patterns = 2000;
    const std::string groups = formatStatusGroups(wide);
    ASSERT_GT(groups.size(), 79u);
    EXPECT_EQ(formatStatusRefresh(wide), "\r" + groups);
}

} // namespace
} // namespace tarwick::engine
