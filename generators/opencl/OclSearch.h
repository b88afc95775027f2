#pragma once

#include "engine/match/PatternSet.h"
#include "engine/search/FoundKey.h"
#include "engine/search/Search.h"
#include "opencl_device/DeviceWalk.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tarwick::opencl {

// The search on a device: launches the walk kernel again and again, turns each hit back
// into its private key, re-derives it on the host (engine arithmetic and hashing, which
// must agree with the device), checks it with the independent KeyCheck and only then
// reports it. Status goes to the observer about once a second. Every work item starts from
// its own random key, and the item that found a reported key starts again from a fresh one,
// so that no two reported keys are related.
class OclSearch {
public:
    OclSearch(opencl_device::DeviceWalk& walk, const engine::SearchSettings& settings,
              engine::PatternSet patterns, const engine::KeyCheck& check,
              engine::SearchObserver& observer, engine::StartKeySource& starts);

    // Runs until every pattern is found (never with keepGoing), a key fails a check, or
    // `maxLaunches` launches are done (0: no limit).
    engine::SearchOutcome run(std::uint64_t maxLaunches = 0);

    std::uint64_t totalKeys() const { return totalKeys_; }
    // run() returns Stopped after the hit it is handling; may be called from the observer.
    void requestStop() { stopRequested_ = true; }

private:
    // False (with failure_ set) when the hit shows the device or a key to be wrong.
    bool handle(const opencl_device::DeviceHit& hit, std::uint64_t launch);
    engine::Scalar centreKey(std::uint32_t item, std::uint64_t launch) const;
    // A random centre key far enough from 0 and n that the item's keys never wrap.
    engine::Scalar drawCentre();
    // The item goes on from a fresh random key at the next launch.
    void restartItem(std::uint32_t item, std::uint64_t nextLaunch);

    opencl_device::DeviceWalk& walk_;
    engine::SearchSettings settings_;
    engine::PatternSet patterns_;
    const engine::KeyCheck& check_;
    engine::SearchObserver& observer_;
    engine::StartKeySource& starts_;
    std::size_t patternCount_;
    // Item i's centre key is itemStart_[i] at launch itemLaunch_[i], and moves on by
    // pointsPerItem() each launch.
    std::vector<engine::Scalar> itemStart_;
    std::vector<std::uint64_t> itemLaunch_;
    std::vector<bool> restarted_; // items restarted by a hit of the current launch
    bool stopRequested_ = false;
    std::uint64_t totalKeys_ = 0;
    std::uint64_t keysAtLastFind_ = 0;
    std::size_t found_ = 0;
    std::string failure_;
};

} // namespace tarwick::opencl
