#pragma once

#include "engine/match/PatternSet.h"
#include "engine/search/FoundKey.h"
#include "engine/search/Search.h"
#include "opencl_device/DeviceWalk.h"

#include <cstdint>
#include <string>

namespace tarwick::opencl {

// The search on a device: launches the walk kernel again and again, turns each hit back
// into its private key, re-derives it on the host (engine arithmetic and hashing, which
// must agree with the device), checks it with the independent KeyCheck and only then
// reports it. Status goes to the observer about once a second.
class OclSearch {
public:
    OclSearch(opencl_device::DeviceWalk& walk, const engine::SearchSettings& settings,
              engine::PatternSet patterns, const engine::KeyCheck& check,
              engine::SearchObserver& observer, engine::StartKeySource& starts);

    // Runs until every pattern is found (never with keepGoing), a key fails a check, or
    // `maxLaunches` launches are done (0: no limit).
    engine::SearchOutcome run(std::uint64_t maxLaunches = 0);

    std::uint64_t totalKeys() const { return totalKeys_; }

private:
    // False (with failure_ set) when the hit shows the device or a key to be wrong.
    bool handle(const opencl_device::DeviceHit& hit, std::uint64_t launch);
    engine::Scalar centreKey(std::uint32_t item, std::uint64_t launch) const;

    opencl_device::DeviceWalk& walk_;
    engine::SearchSettings settings_;
    engine::PatternSet patterns_;
    const engine::KeyCheck& check_;
    engine::SearchObserver& observer_;
    engine::StartKeySource& starts_;
    std::size_t patternCount_;
    engine::Scalar firstCentre_{};
    std::uint64_t totalKeys_ = 0;
    std::uint64_t keysAtLastFind_ = 0;
    std::size_t found_ = 0;
    std::string failure_;
};

} // namespace tarwick::opencl
