#include "pool/CpuKeySearch.h"

#include "engine/hash/Hash160.h"
#include "engine/random/SystemRandom.h"
#include "pool/SplitKeyWalker.h"

#include <algorithm>

namespace tarwick::pool {

CpuKeySearch::CpuKeySearch(unsigned threads, std::size_t walkerHalf)
    : threads_(threads != 0 ? threads : std::max(1u, std::thread::hardware_concurrency())),
      walkerHalf_(walkerHalf) {}

CpuKeySearch::~CpuKeySearch() {
    stop();
}

std::string CpuKeySearch::description() const {
    return "the CPU, " + std::to_string(threads_) + (threads_ == 1 ? " thread" : " threads") +
           ", hashing on " + engine::hashBackendName();
}

void CpuKeySearch::start(const SearchTarget& target) {
    stop();
    stop_ = false;
    hits_.clear();
    auto shared = std::make_shared<const SearchTarget>(target);
    for (unsigned i = 0; i < threads_; ++i) {
        // A random offset per thread: walks of 2^256 keys never meet in practice.
        workers_.emplace_back(&CpuKeySearch::work, this, shared, engine::randomPrivateKey());
    }
}

void CpuKeySearch::stop() {
    stop_ = true;
    for (std::thread& t : workers_) {
        t.join();
    }
    workers_.clear();
}

std::vector<SearchHit> CpuKeySearch::takeHits() {
    return hits_.take();
}

void CpuKeySearch::work(std::shared_ptr<const SearchTarget> target, engine::Scalar firstOffset) {
    constexpr std::size_t kKeySize = engine::kUncompressedKeySize;
    SplitKeyWalker walker(walkerHalf_);
    walker.start(target->point, firstOffset);
    const std::size_t batch = walker.batchSize();
    std::vector<engine::AffinePoint> points(batch);
    std::vector<std::uint8_t> keys(batch * kKeySize);
    std::vector<std::uint8_t> hashes(batch * 20);
    while (!stop_.load(std::memory_order_relaxed)) {
        const engine::Scalar batchOffset = walker.firstOffset();
        walker.next(points.data());
        for (std::size_t i = 0; i < batch; ++i) {
            // The point at infinity has no address; its slot hashes a copy of the next
            // point's key and is never matched.
            const engine::AffinePoint& p = points[i].infinity ? points[(i + 1) % batch] : points[i];
            engine::serializePoint(p, false, keys.data() + i * kKeySize);
        }
        engine::hash160Batch(keys.data(), kKeySize, batch, hashes.data());
        for (std::size_t i = 0; i < batch; ++i) {
            if (!points[i].infinity) {
                hits_.addMatches(*target, hashes.data() + i * 20,
                                 engine::scalarAdd(batchOffset, engine::Scalar::fromUint64(i)));
            }
        }
        keys_.fetch_add(batch, std::memory_order_relaxed);
    }
}

} // namespace tarwick::pool
