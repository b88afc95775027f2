// Durations and key rates as the status line writes them.

#include "engine/match/Difficulty.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

using namespace tarwick::engine;

TEST(Difficulty, DurationsAndRatesInTheLargestUnit) {
    constexpr double kYear = 365 * 86400.0;
    const std::pair<double, const char*> durations[] = {
        {42, "42.0s"},
        {60, "60.0s"},
        {192, "3.2min"},
        {2 * 3600 + 1800, "2.5h"},
        {3 * 86400, "3.0d"},
        {3901 * kYear, "3901.0y"},
        {999999 * kYear, "999999.0y"},
        {3.996106e8 * kYear, "3.996106e+08y"},
        {1e300, "3.170979e+292y"},
        {std::numeric_limits<double>::infinity(), "inf"}};
    for (const auto& [seconds, text] : durations)
        EXPECT_EQ(formatDuration(seconds), text);
    const std::pair<double, const char*> rates[] = {
        {0, "0.00 key/s"},          {1000, "1000.00 key/s"}, {944120, "944.12 Kkey/s"},
        {12340000, "12.34 Mkey/s"}, {1.23e9, "1.23 Gkey/s"}, {4.5e12, "4500.00 Gkey/s"}};
    for (const auto& [rate, text] : rates)
        EXPECT_EQ(formatRate(rate), text);
}

} // namespace
