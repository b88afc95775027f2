#pragma once

#include <chrono>

namespace tarwick {

// Time as the core sees it, so tests advance a fake clock instead of sleeping.
class Clock {
public:
    virtual ~Clock() = default;
    // Monotonic time for elapsed-time and pause measurements.
    virtual std::chrono::steady_clock::time_point now() const = 0;
};

} // namespace tarwick
