#include "core/search/ElapsedTime.h"

#include <gtest/gtest.h>

namespace tarwick {
namespace {

TEST(ElapsedTime, HoursWithinTheDayMinutesSeconds) {
    const std::pair<long long, const char*> cases[] = {
        {0, "00h:00m:00s"},     {3599, "00h:59m:59s"},
        {86399, "23h:59m:59s"}, {86400, "00h:00m:00s"},
        {-3, "00h:00m:00s"},    {400LL * 86400 + 13 * 3600 + 7 * 60 + 9, "13h:07m:09s"},
    };
    for (const auto& [seconds, text] : cases) {
        EXPECT_EQ(FormatElapsed(std::chrono::seconds(seconds)), text) << seconds;
    }
}

} // namespace
} // namespace tarwick
