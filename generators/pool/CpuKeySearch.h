#pragma once

#include "pool/KeySearch.h"

#include <atomic>
#include <cstddef>
#include <memory>
#include <thread>
#include <vector>

namespace tarwick::pool {

// The split-key search on the CPU: one SplitKeyWalker per thread, each from its own random
// offset, the points hashed in batches on the engine's fastest hash160 path and matched
// against the target's hash160 ranges.
class CpuKeySearch final : public KeySearch {
public:
    // threads 0: one per logical processor. walkerHalf: a batch holds 2 * walkerHalf + 1 keys.
    explicit CpuKeySearch(unsigned threads, std::size_t walkerHalf = 256);
    ~CpuKeySearch() override;

    std::string description() const override;
    std::string statusTag() const override { return "CPU"; }
    void start(const SearchTarget& target) override;
    void stop() override;
    std::vector<SearchHit> takeHits() override;
    std::uint64_t keysChecked() const override { return keys_.load(); }

    unsigned threads() const { return threads_; }

private:
    void work(std::shared_ptr<const SearchTarget> target, engine::Scalar firstOffset);

    unsigned threads_;
    std::size_t walkerHalf_;
    std::vector<std::thread> workers_;
    std::atomic<bool> stop_{false};
    std::atomic<std::uint64_t> keys_{0};
    PendingHits hits_;
};

} // namespace tarwick::pool
