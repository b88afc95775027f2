#include "pool/OclKeySearch.h"

#include "engine/hash/Hash160.h"
#include "engine/random/SystemRandom.h"
#include "opencl_device/DeviceTables.h"
#include "opencl_device/KernelProgram.h"

#include <utility>

namespace tarwick::pool {

namespace {

// Work item i walks from offset first + i * 2^64: runs that never meet in a search's life.
engine::Scalar itemOffset(std::uint64_t item) {
    return {{0, item, 0, 0}};
}

opencl_device::WalkLayout pointsOnlyLayout(const cl::Device& device) {
    opencl_device::WalkLayout layout = opencl_device::chooseLayout(device, false);
    layout.pointsOnly = true;
    return layout;
}

} // namespace

OclKeySearch::OclKeySearch(const cl::Device& device, std::string deviceName)
    : deviceName_(std::move(deviceName)),
      walk_(device, pointsOnlyLayout(device), opencl_device::defaultBinaryCache()) {}

OclKeySearch::~OclKeySearch() {
    stop();
}

std::string OclKeySearch::description() const {
    return "OpenCL device " + deviceName_ + ", " + std::to_string(walk_.layout().items) +
           " work items";
}

void OclKeySearch::start(const SearchTarget& target) {
    stop();
    stop_ = false;
    hits_.clear();
    auto shared = std::make_shared<const SearchTarget>(target);
    const std::size_t items = walk_.layout().items;
    const engine::Scalar firstCentre = engine::randomPrivateKey();
    const engine::AffinePoint first = engine::toAffine(
        engine::pointAdd(engine::toJacobian(target.point), engine::multiplyGenerator(firstCentre)));
    walk_.setCentres(opencl_device::arithmeticProgression(
        first, engine::multiplyGenerator(itemOffset(1)), items));
    std::vector<const engine::PatternSet*> sets;
    for (const SearchTarget::Patterns& patterns : shared->patterns) {
        sets.push_back(&patterns.set);
    }
    walk_.setPatterns(sets);
    worker_ = std::thread(&OclKeySearch::work, this, shared, firstCentre);
}

void OclKeySearch::stop() {
    stop_ = true;
    if (worker_.joinable()) {
        worker_.join();
    }
}

std::vector<SearchHit> OclKeySearch::takeHits() {
    return hits_.take();
}

void OclKeySearch::work(std::shared_ptr<const SearchTarget> target, engine::Scalar firstCentre) {
    const std::size_t half = walk_.layout().half;
    const std::uint64_t pointsPerLaunch = walk_.layout().items * walk_.pointsPerItem();
    for (std::uint64_t launch = 0; !stop_.load(); ++launch) {
        std::uint64_t dropped = 0;
        const std::vector<opencl_device::DeviceHit> hits = walk_.launch(dropped);
        for (const opencl_device::DeviceHit& hit : hits) {
            if (hit.kind != 0 || hit.item >= walk_.layout().items ||
                hit.point >= walk_.pointsPerItem()) {
                continue;
            }
            // centre of the item in this launch, minus half, plus the point's place
            engine::Scalar offset = engine::scalarAdd(firstCentre, itemOffset(hit.item));
            offset = engine::scalarAdd(
                offset, engine::Scalar::fromUint64(launch * walk_.pointsPerItem() + hit.point));
            offset =
                engine::scalarAdd(offset, engine::scalarNegate(engine::Scalar::fromUint64(half)));
            const engine::AffinePoint point = engine::toAffine(engine::pointAdd(
                engine::toJacobian(target->point), engine::multiplyGenerator(offset)));
            if (point.infinity) {
                continue;
            }
            std::uint8_t key[engine::kUncompressedKeySize];
            engine::serializePoint(point, false, key);
            std::uint8_t hash[20];
            engine::hash160(key, sizeof key, hash);
            if (!std::equal(hash, hash + 20, hit.hash160.begin())) {
                continue; // the device and the host disagree: never passed on
            }
            hits_.addMatches(*target, hash, offset);
        }
        keys_.fetch_add(pointsPerLaunch);
    }
}

} // namespace tarwick::pool
