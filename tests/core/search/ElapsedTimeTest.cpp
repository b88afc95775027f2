#include "core/search/ElapsedTime.h"

#include <gtest/gtest.h>

namespace tarwick {
namespace {

TEST(ElapsedTime, HoursWithinTheDayMinutesSeconds) {
    struct Case {
        long long seconds;
        const char* text;
    };
    for (const Case& c :
         {Case{0, "00h:00m:00s"}, Case{5, "00h:00m:05s"}, Case{59, "00h:00m:59s"},
          Case{60, "00h:01m:00s"}, Case{3599, "00h:59m:59s"}, Case{3600, "01h:00m:00s"},
          Case{86399, "23h:59m:59s"}, Case{86400, "00h:00m:00s"},
          Case{25 * 3600 + 5, "01h:00m:05s"}, Case{-3, "00h:00m:00s"},
          Case{400LL * 86400 + 13 * 3600 + 7 * 60 + 9, "13h:07m:09s"}}) {
        EXPECT_EQ(FormatElapsed(std::chrono::seconds(c.seconds)), c.text) << c.seconds;
    }
}

} // namespace
} // namespace tarwick
