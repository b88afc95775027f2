#pragma once

#include "core/common/Clock.h"

namespace tarwick {

// The machine's monotonic clock.
class SteadyClock final : public Clock {
public:
    std::chrono::steady_clock::time_point now() const override {
        return std::chrono::steady_clock::now();
    }
};

} // namespace tarwick
