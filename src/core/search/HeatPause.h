#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace tarwick {

// How long an overheating pause lets the hardware cool before the search resumes.
inline constexpr std::chrono::seconds kHeatPauseLength{600};

struct HeatPauseTick {
    // "%.0lf seconds" of the pause still to go, while that is not negative.
    std::optional<std::string> countdown;
    // The pause is over: the search starts again.
    bool resume = false;
};

// One tick of the pause timer, pauseStart being when the run was interrupted.
HeatPauseTick heatPauseTick(std::chrono::steady_clock::time_point pauseStart,
                            std::chrono::steady_clock::time_point now);

} // namespace tarwick
