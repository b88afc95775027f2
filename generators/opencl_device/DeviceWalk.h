#pragma once

#include "engine/ec/Point.h"
#include "engine/match/PatternSet.h"
#include "opencl_device/ClApi.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace tarwick::opencl_device {

// How a launch is shaped: `items` work items in groups of `groupSize`, each checking
// 2 * half + 1 consecutive keys per launch.
struct WalkLayout {
    std::size_t items = 0;
    std::size_t groupSize = 0;
    std::size_t half = 0;
    bool compressed = true;
    bool pointsOnly = false; // hash each point only, not its five other candidates
    bool dump = false;       // also write every point and hash (tests only)
};

// A launch shape for `device`: enough work items to fill every compute unit several
// times over, and launches short enough for a status refresh about once a second.
WalkLayout chooseLayout(const cl::Device& device, bool compressed);

// A candidate the device found in the wanted ranges.
struct DeviceHit {
    std::uint32_t item = 0;
    std::uint32_t point = 0; // 0 ... 2*half: key centre - half + point
    std::uint32_t kind = 0;  // engine::CandidateKind
    std::uint32_t pattern = 0;
    std::array<std::uint8_t, 20> hash160{};
};

// Words per point in the dump: x, y, then the six candidates' hash160 words.
inline constexpr std::size_t kDumpWords = 16 + 6 * 5;

// The search kernel on one device, with its buffers: centres (one per work item), the
// running products, the table of multiples of G, the patterns' first-bits table and
// ranges, and the hit list.
class DeviceWalk {
public:
    DeviceWalk(const cl::Device& device, const WalkLayout& layout,
               const std::optional<std::filesystem::path>& binaryCache);

    const WalkLayout& layout() const { return layout_; }
    // Points per work item and launch: the centre and half on either side of it.
    std::size_t pointsPerItem() const { return 2 * layout_.half + 1; }
    // Keys checked by one launch: six candidates for each point, or one with pointsOnly.
    std::uint64_t keysPerLaunch() const;

    // Uploads the patterns still wanted (the set must not be empty).
    void setPatterns(const engine::PatternSet& patterns);
    // Uploads the hash ranges of several sets (addresses of several versions) as one: a hit
    // then reports no meaningful pattern, and the host finds the set and pattern again.
    void setPatterns(const std::vector<const engine::PatternSet*>& sets);
    // Uploads the work items' centres (layout().items points).
    void setCentres(const std::vector<engine::AffinePoint>& centres);
    // Uploads one work item's centre.
    void setCentre(std::size_t item, const engine::AffinePoint& centre);
    // Runs one launch; every centre moves on by pointsPerItem(). Returns the hits (at most
    // kHitCapacity; `dropped` counts those that did not fit).
    std::vector<DeviceHit> launch(std::uint64_t& dropped);

    std::vector<engine::AffinePoint> readCentres();
    // The dump of the last launch: kDumpWords per point, item-major (layout().dump only).
    std::vector<std::uint32_t> readDump();

    static constexpr std::uint32_t kHitCapacity = 1024;

private:
    void uploadRanges(const std::vector<engine::PatternSet::HashRange>& ranges);

    WalkLayout layout_;
    cl::Context context_;
    cl::CommandQueue queue_;
    cl::Kernel kernel_;
    cl::Buffer centres_;
    cl::Buffer products_;
    cl::Buffer multiples_;
    cl::Buffer table_;
    cl::Buffer ranges_;
    cl::Buffer hits_;
    cl::Buffer dump_;
};

} // namespace tarwick::opencl_device
