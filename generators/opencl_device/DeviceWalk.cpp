#include "opencl_device/DeviceWalk.h"

#include "opencl_device/DeviceTables.h"
#include "opencl_device/KernelProgram.h"

#include <algorithm>
#include <string>

namespace tarwick::opencl_device {

namespace {

template <typename T>
std::size_t bytesOf(const std::vector<T>& values) {
    return values.size() * sizeof(T);
}

std::string buildOptions(const WalkLayout& layout) {
    std::string options = "-cl-std=CL1.2 -DWALK_HALF=" + std::to_string(layout.half) +
                          "u -DWALK_COMPRESSED=" + (layout.compressed ? "1" : "0");
    if (layout.pointsOnly) {
        options += " -DWALK_CANDIDATES=1";
    }
    if (layout.dump) {
        options += " -DWALK_DUMP";
    }
    return options;
}

} // namespace

WalkLayout chooseLayout(const cl::Device& device, bool compressed) {
    const std::size_t units = std::max<cl_uint>(1, device.getInfo<CL_DEVICE_MAX_COMPUTE_UNITS>());
    const std::size_t maxGroup =
        std::max<std::size_t>(1, device.getInfo<CL_DEVICE_MAX_WORK_GROUP_SIZE>());
    const bool cpu = (device.getInfo<CL_DEVICE_TYPE>() & CL_DEVICE_TYPE_CPU) != 0;
    WalkLayout layout;
    layout.compressed = compressed;
    if (cpu) {
        // A CPU runs a work group as one vectorised loop per core: a few groups per core
        // keep every core busy, and a long walk per item keeps launches few.
        layout.groupSize = std::min<std::size_t>(64, maxGroup);
        layout.items = units * 4 * layout.groupSize;
        layout.half = 256;
    } else {
        // A GPU hides memory latency with many resident groups per compute unit.
        layout.groupSize = std::min<std::size_t>(256, maxGroup);
        layout.items = units * 1024;
        layout.half = 128;
    }
    layout.items = std::max(layout.groupSize, layout.items / layout.groupSize * layout.groupSize);
    return layout;
}

DeviceWalk::DeviceWalk(const cl::Device& device, const WalkLayout& layout,
                       const std::optional<std::filesystem::path>& binaryCache)
    : layout_(layout), context_(device), queue_(context_, device) {
    const cl::Program program =
        buildProgram(context_, device, kernelSource(), buildOptions(layout_), binaryCache);
    kernel_ = cl::Kernel(program, "walk");

    const std::size_t items = layout_.items;
    centres_ = cl::Buffer(context_, CL_MEM_READ_WRITE, 16 * items * sizeof(std::uint32_t));
    products_ = cl::Buffer(context_, CL_MEM_READ_WRITE,
                           (layout_.half + 1) * 8 * items * sizeof(std::uint32_t));
    const std::vector<std::uint32_t> multiples = multiplesTable(layout_.half);
    multiples_ = cl::Buffer(context_, CL_MEM_READ_ONLY | CL_MEM_COPY_HOST_PTR, bytesOf(multiples),
                            const_cast<std::uint32_t*>(multiples.data()));
    std::vector<std::uint32_t> hits(1 + kHitCapacity * kHitWords, 0);
    hits_ =
        cl::Buffer(context_, CL_MEM_READ_WRITE | CL_MEM_COPY_HOST_PTR, bytesOf(hits), hits.data());
    const std::size_t dumpWords = layout_.dump ? items * pointsPerItem() * kDumpWords : 1;
    dump_ = cl::Buffer(context_, CL_MEM_READ_WRITE, dumpWords * sizeof(std::uint32_t));
}

std::uint64_t DeviceWalk::keysPerLaunch() const {
    return static_cast<std::uint64_t>(layout_.items) * pointsPerItem() *
           (layout_.pointsOnly ? 1 : 6);
}

void DeviceWalk::setPatterns(const engine::PatternSet& patterns) {
    uploadRanges(patterns.hashRanges());
}

void DeviceWalk::setPatterns(const std::vector<const engine::PatternSet*>& sets) {
    std::vector<engine::PatternSet::HashRange> all;
    for (const engine::PatternSet* set : sets) {
        const auto ranges = set->hashRanges();
        all.insert(all.end(), ranges.begin(), ranges.end());
    }
    // The device searches sorted, disjoint ranges: overlapping ones (of different versions)
    // are joined.
    std::sort(all.begin(), all.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<engine::PatternSet::HashRange> joined;
    for (auto range : all) {
        range.pattern = 0;
        if (!joined.empty() && range.first <= joined.back().last) {
            joined.back().last = std::max(joined.back().last, range.last);
        } else {
            joined.push_back(range);
        }
    }
    uploadRanges(joined);
}

void DeviceWalk::uploadRanges(const std::vector<engine::PatternSet::HashRange>& ranges) {
    FirstBitsTable table = buildFirstBitsTable(ranges);
    std::vector<std::uint32_t> words = rangeWords(ranges);
    if (words.empty()) {
        words.assign(kRangeWords, 0); // never read: the table holds no bit then
    }
    table_ = cl::Buffer(context_, CL_MEM_READ_ONLY | CL_MEM_COPY_HOST_PTR, bytesOf(table.words),
                        table.words.data());
    ranges_ =
        cl::Buffer(context_, CL_MEM_READ_ONLY | CL_MEM_COPY_HOST_PTR, bytesOf(words), words.data());
    kernel_.setArg(3, table_);
    kernel_.setArg(4, static_cast<cl_uint>(table.shift));
    kernel_.setArg(5, ranges_);
    kernel_.setArg(6, static_cast<cl_uint>(ranges.size()));
}

void DeviceWalk::setCentres(const std::vector<engine::AffinePoint>& centres) {
    const std::vector<std::uint32_t> words = centreWords(centres);
    queue_.enqueueWriteBuffer(centres_, CL_TRUE, 0, bytesOf(words), words.data());
}

void DeviceWalk::setCentre(std::size_t item, const engine::AffinePoint& centre) {
    const std::vector<std::uint32_t> words = centreWords({centre});
    // The centres are stored limb-major: each of the item's 16 words lies in its own row.
    for (std::size_t limb = 0; limb < words.size(); ++limb) {
        queue_.enqueueWriteBuffer(centres_, CL_TRUE,
                                  (limb * layout_.items + item) * sizeof(std::uint32_t),
                                  sizeof(std::uint32_t), &words[limb]);
    }
}

std::vector<DeviceHit> DeviceWalk::launch(std::uint64_t& dropped) {
    kernel_.setArg(0, centres_);
    kernel_.setArg(1, products_);
    kernel_.setArg(2, multiples_);
    kernel_.setArg(7, hits_);
    kernel_.setArg(8, static_cast<cl_uint>(kHitCapacity));
    kernel_.setArg(9, dump_);
    queue_.enqueueNDRangeKernel(kernel_, cl::NullRange, cl::NDRange(layout_.items),
                                cl::NDRange(layout_.groupSize));
    cl_uint count = 0;
    queue_.enqueueReadBuffer(hits_, CL_TRUE, 0, sizeof count, &count);
    dropped = 0;
    std::vector<DeviceHit> hits;
    if (count == 0) {
        return hits;
    }
    const cl_uint stored = std::min(count, kHitCapacity);
    dropped = count - stored;
    std::vector<std::uint32_t> words(stored * kHitWords);
    queue_.enqueueReadBuffer(hits_, CL_TRUE, sizeof(cl_uint), bytesOf(words), words.data());
    const cl_uint zero = 0;
    queue_.enqueueWriteBuffer(hits_, CL_TRUE, 0, sizeof zero, &zero);
    for (cl_uint i = 0; i < stored; ++i) {
        const std::uint32_t* record = words.data() + i * kHitWords;
        DeviceHit hit;
        hit.item = record[0];
        hit.point = record[1];
        hit.kind = record[2];
        hit.pattern = record[3];
        for (std::size_t w = 0; w < 5; ++w) {
            for (std::size_t b = 0; b < 4; ++b) {
                hit.hash160[4 * w + b] = static_cast<std::uint8_t>(record[4 + w] >> (24 - 8 * b));
            }
        }
        hits.push_back(hit);
    }
    return hits;
}

std::vector<engine::AffinePoint> DeviceWalk::readCentres() {
    std::vector<std::uint32_t> words(16 * layout_.items);
    queue_.enqueueReadBuffer(centres_, CL_TRUE, 0, bytesOf(words), words.data());
    std::vector<engine::AffinePoint> points;
    for (std::size_t item = 0; item < layout_.items; ++item) {
        points.push_back(centreAt(words, layout_.items, item));
    }
    return points;
}

std::vector<std::uint32_t> DeviceWalk::readDump() {
    std::vector<std::uint32_t> words(layout_.items * pointsPerItem() * kDumpWords);
    queue_.enqueueReadBuffer(dump_, CL_TRUE, 0, bytesOf(words), words.data());
    return words;
}

} // namespace tarwick::opencl_device
