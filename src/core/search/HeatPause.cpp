#include "core/search/HeatPause.h"

#include <cstdio>

namespace tarwick {

HeatPauseTick heatPauseTick(std::chrono::steady_clock::time_point pauseStart,
                            std::chrono::steady_clock::time_point now) {
    const double paused = std::chrono::duration<double>(now - pauseStart).count();
    const double remaining = std::chrono::duration<double>(kHeatPauseLength).count() - paused;
    HeatPauseTick tick;
    if (remaining >= 0.0) {
        char text[64];
        std::snprintf(text, sizeof text, "%.0f seconds", remaining);
        tick.countdown = text;
    }
    tick.resume = remaining <= 0.0;
    return tick;
}

} // namespace tarwick
