#include "core/search/HeatPause.h"

#include <gtest/gtest.h>

namespace tarwick {
namespace {

using namespace std::chrono_literals;

TEST(HeatPause, CountsDownFromSixHundredSecondsThenResumes) {
    const auto start = std::chrono::steady_clock::time_point{} + 5000s;
    struct Case {
        std::chrono::milliseconds paused;
        const char* countdown; // null: nothing shown
        bool resume;
    };
    for (const Case& t : {Case{0ms, "600 seconds", false}, Case{1000ms, "599 seconds", false},
                          Case{1400ms, "599 seconds", false}, Case{1600ms, "598 seconds", false},
                          Case{599'000ms, "1 seconds", false}, Case{599'700ms, "0 seconds", false},
                          Case{600'000ms, "0 seconds", true}, Case{600'001ms, nullptr, true},
                          Case{900'000ms, nullptr, true}}) {
        const HeatPauseTick tick = heatPauseTick(start, start + t.paused);
        if (t.countdown)
            EXPECT_EQ(tick.countdown, std::optional<std::string>(t.countdown)) << t.paused.count();
        else
            EXPECT_FALSE(tick.countdown) << t.paused.count();
        EXPECT_EQ(tick.resume, t.resume) << t.paused.count();
    }
}

} // namespace
} // namespace tarwick
