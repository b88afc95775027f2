// Probability, time to 50% and the status-line texts built from them.

#include "engine/match/Difficulty.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

using namespace tarwick::engine;

TEST(Difficulty, ProbabilityAfterKeys) {
    EXPECT_DOUBLE_EQ(probabilityAfter(0, 77178), 0.0);
    EXPECT_NEAR(probabilityAfter(77178, 77178), 1 - std::exp(-1.0), 1e-12);
    EXPECT_NEAR(probabilityAfter(77178 * std::log(2.0), 77178), 0.5, 1e-12);
    // Tiny chances are not lost to rounding.
    EXPECT_NEAR(probabilityAfter(1, 1e18), 1e-18, 1e-30);
}

TEST(Difficulty, SecondsToHalf) {
    EXPECT_NEAR(secondsTo50Percent(0, 1e6, 1000), 1e6 * std::log(2.0) / 1000, 1e-9);
    EXPECT_NEAR(secondsTo50Percent(1e5, 1e6, 1000), (1e6 * std::log(2.0) - 1e5) / 1000, 1e-9);
    EXPECT_LT(secondsTo50Percent(1e6, 1e6, 1000), 0);
    EXPECT_TRUE(std::isinf(secondsTo50Percent(0, 1e6, 0)));
}

TEST(Difficulty, DurationsInTheLargestUnit) {
    EXPECT_EQ(formatDuration(42), "42.0s");
    EXPECT_EQ(formatDuration(60), "60.0s");
    EXPECT_EQ(formatDuration(192), "3.2min");
    EXPECT_EQ(formatDuration(2 * 3600 + 1800), "2.5h");
    EXPECT_EQ(formatDuration(3 * 86400), "3.0d");
    EXPECT_EQ(formatDuration(3901.0 * 365 * 86400), "3901.0y");
    EXPECT_EQ(formatDuration(999999.0 * 365 * 86400), "999999.0y");
}

TEST(Difficulty, AstronomicDurationsInExponentForm) {
    EXPECT_EQ(formatDuration(3.996106e8 * 365 * 86400), "3.996106e+08y");
    EXPECT_EQ(formatDuration(1e300), "3.170979e+292y");
    EXPECT_EQ(formatDuration(std::numeric_limits<double>::infinity()), "inf");
}

TEST(Difficulty, RateUnits) {
    EXPECT_EQ(formatRate(0), "0.00 key/s");
    EXPECT_EQ(formatRate(950), "950.00 key/s");
    EXPECT_EQ(formatRate(1000), "1000.00 key/s");
    EXPECT_EQ(formatRate(944120), "944.12 Kkey/s");
    EXPECT_EQ(formatRate(12340000), "12.34 Mkey/s");
    EXPECT_EQ(formatRate(1.23e9), "1.23 Gkey/s");
    EXPECT_EQ(formatRate(4.5e12), "4500.00 Gkey/s");
}

TEST(Difficulty, ProbabilityGroup) {
    EXPECT_EQ(formatProbabilityGroup(0, 77178), "[Prob 0.0%]");
    EXPECT_EQ(formatProbabilityGroup(77178 * std::log(2.0), 77178), "[Prob 50.0%]");
    EXPECT_EQ(formatProbabilityGroup(77178 * 6.9, 77178), "[Prob 99.9%]");
    EXPECT_EQ(formatProbabilityGroup(77178 * 7.0, 77178), ""); // past 99.9%: gone
    EXPECT_EQ(formatProbabilityGroup(10, 0), "");
}

TEST(Difficulty, EtaGroup) {
    // 1Abc at 1 Mkey/s from the start: 77178 * ln 2 keys, 0.05 s.
    EXPECT_EQ(formatEtaGroup(0, 77178, 1e6), "[50% in 0.1s]");
    // The figure GENERATORS.md shows: difficulty for 3901 years at 944.12 Kkey/s.
    const double d = 3901.0 * 365 * 86400 * 944120 / std::log(2.0);
    EXPECT_EQ(formatEtaGroup(713472, d, 944120), "[50% in 3901.0y]");
    EXPECT_EQ(formatEtaGroup(0, 1e30, 1e6), "[50% in 2.197955e+16y]");
    // Past 50% the next target is shown.
    EXPECT_EQ(formatEtaGroup(77178 * 0.7, 77178, 1e3), "[75% in 53.0s]");
    EXPECT_EQ(formatEtaGroup(77178 * 3.2, 77178, 1e3), "");
    EXPECT_EQ(formatEtaGroup(0, 77178, 0), "");
}

} // namespace
