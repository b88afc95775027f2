#include "opencl/OclSearch.h"

#include "engine/ec/Candidates.h"
#include "engine/encoding/Address.h"
#include "engine/encoding/Wif.h"
#include "engine/hash/Hash160.h"
#include "engine/search/StatusSchedule.h"
#include "opencl_device/DeviceTables.h"

#include <algorithm>
#include <utility>

namespace tarwick::opencl {

OclSearch::OclSearch(opencl_device::DeviceWalk& walk, const engine::SearchSettings& settings,
                     engine::PatternSet patterns, const engine::KeyCheck& check,
                     engine::SearchObserver& observer, engine::StartKeySource& starts)
    : walk_(walk), settings_(settings), patterns_(std::move(patterns)), check_(check),
      observer_(observer), starts_(starts), patternCount_(patterns_.size()) {}

engine::Scalar OclSearch::centreKey(std::uint32_t item, std::uint64_t launch) const {
    const std::uint64_t walked = (launch - itemLaunch_[item]) * walk_.pointsPerItem();
    return engine::scalarAdd(itemStart_[item], engine::Scalar::fromUint64(walked));
}

engine::Scalar OclSearch::drawCentre() {
    // 2^64 keys on either side: more than any search walks.
    const engine::Scalar margin{{0, 1, 0, 0}};
    const engine::Scalar limit = engine::scalarNegate(margin);
    engine::Scalar key;
    do {
        key = starts_.nextStart();
    } while (engine::scalarCompare(key, margin) <= 0 || engine::scalarCompare(key, limit) >= 0);
    return key;
}

void OclSearch::restartItem(std::uint32_t item, std::uint64_t nextLaunch) {
    itemStart_[item] = drawCentre();
    itemLaunch_[item] = nextLaunch;
    walk_.setCentre(item, engine::multiplyGenerator(itemStart_[item]));
    restarted_[item] = true;
}

engine::SearchOutcome OclSearch::run(std::uint64_t maxLaunches) {
    if (patterns_.empty()) {
        return engine::SearchOutcome::AllFound;
    }
    const std::size_t items = walk_.layout().items;
    itemStart_.clear();
    for (std::size_t i = 0; i < items; ++i) {
        itemStart_.push_back(drawCentre());
    }
    itemLaunch_.assign(items, 0);
    restarted_.assign(items, false);
    walk_.setCentres(opencl_device::pointsOfKeys(itemStart_));
    walk_.setPatterns(patterns_);

    engine::StatusSchedule schedule(engine::StatusSchedule::Clock::now());
    for (std::uint64_t launch = 0; (maxLaunches == 0 || launch < maxLaunches) && !stopRequested_;
         ++launch) {
        std::uint64_t dropped = 0;
        const std::vector<opencl_device::DeviceHit> hits = walk_.launch(dropped);
        totalKeys_ += walk_.keysPerLaunch();
        const std::size_t before = patterns_.size();
        std::fill(restarted_.begin(), restarted_.end(), false);
        for (const opencl_device::DeviceHit& hit : hits) {
            if (!handle(hit, launch)) {
                observer_.failed(failure_);
                return engine::SearchOutcome::CheckFailed;
            }
            if (patterns_.empty()) {
                return engine::SearchOutcome::AllFound;
            }
            if (stopRequested_) {
                return engine::SearchOutcome::Stopped;
            }
        }
        if (patterns_.size() != before) {
            walk_.setPatterns(patterns_);
        }
        if (const auto now = engine::StatusSchedule::Clock::now(); now >= schedule.due()) {
            engine::SearchStatus status;
            status.keysPerSecond = schedule.rateAt(now, totalKeys_);
            status.totalKeys = totalKeys_;
            status.keysSinceLastFind = totalKeys_ - keysAtLastFind_;
            status.difficulty = patterns_.difficulty();
            status.found = found_;
            status.patterns = patternCount_;
            status.keepGoing = settings_.keepGoing;
            observer_.status(status);
        }
    }
    return engine::SearchOutcome::Stopped;
}

bool OclSearch::handle(const opencl_device::DeviceHit& hit, std::uint64_t launch) {
    // Only patterns still wanted count; the device may report one found a moment ago.
    const std::optional<std::size_t> wanted = patterns_.match(hit.hash160.data());
    if (!wanted) {
        return true;
    }
    if (hit.item >= walk_.layout().items || hit.point >= walk_.pointsPerItem() ||
        hit.kind >= engine::kCandidatesPerPoint) {
        failure_ = "Device error - the device reported a hit outside its batch";
        return false;
    }
    if (restarted_[hit.item]) {
        return true; // a neighbour of a key just reported: never reported itself
    }
    const std::size_t half = walk_.layout().half;
    const engine::Scalar pointKey = engine::scalarAdd(
        engine::scalarNegate(engine::Scalar::fromUint64(half)),
        engine::scalarAdd(centreKey(hit.item, launch), engine::Scalar::fromUint64(hit.point)));
    const auto kind = static_cast<engine::CandidateKind>(hit.kind);
    const engine::Scalar key = engine::candidateKey(pointKey, kind);

    // The host's own derivation must give the hash the device reported.
    const engine::AffinePoint point =
        engine::candidatePoint(engine::multiplyGenerator(pointKey), kind);
    engine::FoundKey found;
    found.compressed = settings_.compressed;
    found.publicKey.resize(settings_.compressed ? engine::kCompressedKeySize
                                                : engine::kUncompressedKeySize);
    engine::serializePoint(point, settings_.compressed, found.publicKey.data());
    engine::hash160(found.publicKey.data(), found.publicKey.size(), found.hash160.data());
    if (found.hash160 != hit.hash160) {
        failure_ = "Device error - a hit for pattern " + patterns_.pattern(*wanted) +
                   " does not match its key on the host; nothing was reported";
        return false;
    }
    found.pattern = patterns_.pattern(*wanted);
    key.toBytes(found.privateKey.data());
    found.address = engine::p2pkhAddress(0, found.hash160.data());
    found.privateKeyWif = engine::wifFromPrivateKey(found.privateKey.data(), found.compressed);
    const std::string problem = check_.problem(found, settings_.caseInsensitive);
    if (!problem.empty()) {
        failure_ = "Self-check error - a key for pattern " + found.pattern +
                   " failed the independent check (" + problem + "); it was not reported";
        return false;
    }
    observer_.found(found);
    ++found_;
    keysAtLastFind_ = totalKeys_;
    if (!settings_.keepGoing) {
        patterns_.remove(*wanted);
    }
    restartItem(hit.item, launch + 1);
    return true;
}

} // namespace tarwick::opencl
