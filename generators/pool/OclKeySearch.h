#pragma once

#include "opencl_device/DeviceWalk.h"
#include "pool/KeySearch.h"

#include <atomic>
#include <memory>
#include <thread>

namespace tarwick::pool {

// The split-key search on an OpenCL device, on the OpenCL generator's walk kernel: its work
// items start from any points we give them, so they start from P + k*G. The kernel is built
// to hash the points themselves only: their negated and endomorphism images belong to other
// keys than a + k. The patterns of every address version are searched at once. Each hit is
// derived again on
// the host (the engine's arithmetic and hashing must agree with the device) before the
// miner hears of it; the miner then checks it independently.
class OclKeySearch final : public KeySearch {
public:
    OclKeySearch(const cl::Device& device, std::string deviceName);
    ~OclKeySearch() override;

    std::string description() const override;
    std::string statusTag() const override { return "OpenCL"; }
    void start(const SearchTarget& target) override;
    void stop() override;
    std::vector<SearchHit> takeHits() override;
    std::uint64_t keysChecked() const override { return keys_.load(); }

private:
    void work(std::shared_ptr<const SearchTarget> target, engine::Scalar firstCentre);
    void report(const std::string& message);

    std::string deviceName_;
    opencl_device::DeviceWalk walk_;
    std::thread worker_;
    std::atomic<bool> stop_{false};
    std::atomic<std::uint64_t> keys_{0};
    PendingHits hits_;
};

} // namespace tarwick::pool
