// The walk kernel against the references: every point walked is libsecp256k1's, every hash160
// OpenSSL's, every centre moves on by a batch, and the hits are exactly the candidates whose
// address starts with the pattern (the split-key walk: points only, several versions at once).

#include "EcReference.h"
#include "engine/ec/Scalar.h"
#include "opencl_device/DeviceList.h"
#include "opencl_device/DeviceTables.h"
#include "opencl_device/DeviceWalk.h"

#include <gtest/gtest.h>
#include <set>
#include <tuple>

namespace tarwick::test {
namespace {

using Hits = std::set<std::tuple<std::uint32_t, std::uint32_t, std::uint32_t>>;

engine::AffinePoint pointOf(const Key& key) {
    const Bytes pub = referencePublicKey(key, false);
    engine::AffinePoint p{};
    EXPECT_TRUE(engine::FieldElement::fromBytes(pub.data() + 1, p.x) &&
                engine::FieldElement::fromBytes(pub.data() + 33, p.y));
    return p;
}

void checkWalk(const cl::Device& device, bool compressed, bool pointsOnly) {
    const opencl_device::WalkLayout layout{32, 8, 3, compressed, pointsOnly, true};
    opencl_device::DeviceWalk walk(device, layout,
                                   std::filesystem::path(TARWICK_OPENCL_TEST_CACHE));
    std::vector<std::string> warnings; // 1A: one candidate in 22, dozens of hits a launch; 3A
    const engine::PatternSet bitcoin = engine::PatternSet::build({"1A"}, false, 0, warnings);
    const engine::PatternSet scriptHash = engine::PatternSet::build({"3A"}, false, 5, warnings);
    pointsOnly ? walk.setPatterns({&bitcoin, &scriptHash}) : walk.setPatterns(bitcoin);
    TestRandom random(compressed ? 71 : 72);
    // The lowest key of each batch (G itself first); the centre is `half` above it.
    std::vector<Key> firstKeys{keyFromUint64(1)};
    std::vector<engine::AffinePoint> centres;
    while (firstKeys.size() < layout.items) {
        firstKeys.push_back(random.key());
    }
    for (const Key& first : firstKeys) {
        centres.push_back(pointOf(referenceKeyPlus(first, keyFromUint64(layout.half))));
    }
    walk.setCentres(centres);
    std::uint64_t dropped = 0;
    Hits hits, expectedHits;
    for (const opencl_device::DeviceHit& hit : walk.launch(dropped)) {
        hits.insert({hit.item, hit.point, hit.kind + 100 * hit.pattern}); // a pattern but 0 shows
    }
    EXPECT_EQ(dropped, 0u);
    const std::vector<std::uint32_t> dump = walk.readDump();
    const std::vector<engine::AffinePoint> next = walk.readCentres();
    const std::size_t points = walk.pointsPerItem();
    for (std::size_t item = 0; item < layout.items; ++item) {
        for (std::size_t p = 0; p < points; ++p) {
            const Key key = referenceKeyPlus(firstKeys[item], keyFromUint64(p));
            const std::uint32_t* words =
                dump.data() + (item * points + p) * opencl_device::kDumpWords;
            const engine::AffinePoint expected = pointOf(key);
            EXPECT_TRUE(opencl_device::fieldFromWords(words) == expected.x &&
                        opencl_device::fieldFromWords(words + 8) == expected.y)
                << "item " << item << " point " << p;
            const std::vector<Key> keys = referenceCandidateKeys(key);
            for (std::size_t kind = 0; kind < (pointsOnly ? 1 : keys.size()); ++kind) {
                const Bytes hash = referenceHash160(referencePublicKey(keys[kind], compressed));
                Bytes dumped;
                for (int b = 0; b < 20; ++b) {
                    dumped.push_back(
                        std::uint8_t(words[16 + 5 * kind + b / 4] >> (24 - b % 4 * 8)));
                }
                EXPECT_EQ(toHex(dumped), toHex(hash))
                    << "item " << item << " point " << p << " candidate " << kind;
                if (referenceAddressOfHash(0, hash.data()).starts_with("1A") ||
                    (pointsOnly && referenceAddressOfHash(5, hash.data()).starts_with("3A"))) {
                    expectedHits.insert(
                        {std::uint32_t(item), std::uint32_t(p), std::uint32_t(kind)});
                }
            }
        }
        const engine::AffinePoint expectedNext =
            pointOf(referenceKeyPlus(firstKeys[item], keyFromUint64(points + layout.half)));
        EXPECT_TRUE(next[item] == expectedNext) << "item " << item;
    }
    EXPECT_GT(expectedHits.size(), pointsOnly ? 5u : 10u);
    EXPECT_EQ(hits, expectedHits);
}

TEST(OpenClKernel, PointsAndHashesMatchTheReferences) {
    const std::optional<cl::Device> device = opencl_device::findDevice({0, 0});
    if (!device) {
        GTEST_SKIP() << "no OpenCL device 0:0 on this machine (install pocl-opencl-icd)";
    }
    for (const auto& [compressed, pointsOnly] :
         {std::pair{true, false}, {false, false}, {false, true}}) {
        SCOPED_TRACE(std::to_string(compressed) + " compressed, points only " +
                     std::to_string(pointsOnly));
        checkWalk(*device, compressed, pointsOnly);
    }
}

} // namespace
} // namespace tarwick::test
