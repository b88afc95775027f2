#include "core/search/HeatPause.h"

#include <gtest/gtest.h>

namespace tarwick {
namespace {

using namespace std::chrono_literals;

TEST(HeatPause, CountsDownFromSixHundredSecondsThenResumes) {
    const auto start = std::chrono::steady_clock::time_point{} + 5000s;
    struct Case {
        std::chrono::milliseconds paused;
        std::optional<std::string> countdown;
        bool resume;
    };
    for (const Case& t :
         {Case{0ms, "600 seconds", false}, Case{1400ms, "599 seconds", false},
          Case{1600ms, "598 seconds", false}, Case{599'700ms, "0 seconds", false},
          Case{600'000ms, "0 seconds", true}, Case{600'001ms, std::nullopt, true}}) {
        const HeatPauseTick tick = heatPauseTick(start, start + t.paused);
        EXPECT_EQ(tick.countdown, t.countdown) << t.paused.count();
        EXPECT_EQ(tick.resume, t.resume) << t.paused.count();
    }
}

} // namespace
} // namespace tarwick
