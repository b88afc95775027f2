// The status line the front-end reads: bracketed groups, the key rate first, the chance and
// time groups appearing and going as the search goes on; durations in the largest unit.

#include "engine/search/StatusLine.h"

#include "engine/match/Difficulty.h"

#include <gtest/gtest.h>
#include <limits>

namespace tarwick::engine {
namespace {

TEST(StatusLine, GroupsAndDurations) {
    // Rate, total, since the last find, difficulty, found, of how many patterns, keep going.
    const std::pair<SearchStatus, const char*> cases[] = {
        // 1 - e^(-0.131) = 12.3%; (1e9 ln 2 - 131028262) / 12.34e6 = 45.6 s
        {{12.34e6, 123456789, 131028262, 1e9, 1, 2},
         "[12.34 Mkey/s][total 123456789][Prob 12.3%][50% in 45.6s][Found 1/2]"},
        // Past 50% the next target is shown.
        {{12.34e6, 950000000, 950000000, 1e9},
         "[12.34 Mkey/s][total 950000000][Prob 61.3%][75% in 35.4s]"},
        {{1000, 0, 246969, 77178}, "[1000.00 key/s][total 0][Prob 95.9%]"}, // past 95%
        {{1000, 0, 532528, 77178}, "[1000.00 key/s][total 0][Prob 99.9%]"},
        {{1000, 10000, 10000, 1000}, "[1000.00 key/s][total 10000]"}, // past 99.9%
        {{500, 1, 1, 0}, "[500.00 key/s][total 1]"},                  // no difficulty
        {{1e6, 5000000, 5000000, 1e30},
         "[1000.00 Kkey/s][total 5000000][Prob 0.0%][50% in 2.197955e+16y]"},
        // No rate, no time; keep going counts finds without a total.
        {{0, 0, 0, 22, 3, 2, true}, "[0.00 key/s][total 0][Prob 0.0%][Found 3]"},
    };
    for (const auto& [status, line] : cases) {
        EXPECT_EQ(formatStatusGroups(status), line);
    }
    // A refresh is padded (see the console report) but never cuts a long line.
    const SearchStatus wide{12.34e6, 12345678901234567ull, 131028262, 1e30, 10, 2000};
    EXPECT_EQ(formatStatusRefresh(wide), std::string(1, '\r').append(formatStatusGroups(wide)));
    constexpr double kYear = 365 * 86400.0;
    // clang-format off
    const std::pair<double, const char*> durations[] = {
        {42, "42.0s"}, {60, "60.0s"}, {192, "3.2min"}, {9000, "2.5h"}, {3 * 86400, "3.0d"},
        {999999 * kYear, "999999.0y"}, {3.996106e8 * kYear, "3.996106e+08y"},
        {1e300, "3.170979e+292y"}, {std::numeric_limits<double>::infinity(), "inf"}};
    // clang-format on
    for (const auto& [seconds, text] : durations) {
        EXPECT_EQ(formatDuration(seconds), text);
    }
}

} // namespace
} // namespace tarwick::engine
