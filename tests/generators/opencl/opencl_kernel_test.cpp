// The walk kernel's points and hashes against independent references: for random
// starting keys, every point the device walks must be the key's point from libsecp256k1,
// every candidate's hash160 must be OpenSSL's hash of that candidate's public key, and
// every centre must have moved on by a whole batch, and the hits must be exactly the
// candidates whose address (Base58 from OpenSSL's big numbers) starts with the pattern. The
// split-key walk hashes the points only and searches the patterns of several versions at once.

#include "ec_reference.h"
#include "engine/ec/Scalar.h"
#include "opencl_device/DeviceTables.h"
#include "opencl_device/DeviceWalk.h"
#include "opencl_support.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>
#include <tuple>

namespace {

using tarwick::test::Bytes;
using tarwick::test::Key;
namespace engine = tarwick::engine;
namespace opencl_device = tarwick::opencl_device;

// The six candidate keys of key k, in the kernel's order: k, -k, lambda*k, -lambda*k,
// lambda^2*k, -lambda^2*k.
std::vector<Key> candidateKeys(const Key& k) {
    const Key lambda = tarwick::test::keyFromHex(
        "5363ad4cc05c30e0a5261c028812645a122e22ea20816678df02967c1b23bd72");
    const Key l1 = tarwick::test::referenceKeyTimes(k, lambda);
    const Key l2 = tarwick::test::referenceKeyTimes(l1, lambda);
    return {k,  tarwick::test::referenceKeyNegated(k), l1, tarwick::test::referenceKeyNegated(l1),
            l2, tarwick::test::referenceKeyNegated(l2)};
}

engine::AffinePoint pointOf(const Key& key) {
    const Bytes pub = tarwick::test::referencePublicKey(key, false);
    engine::AffinePoint p{};
    EXPECT_TRUE(engine::FieldElement::fromBytes(pub.data() + 1, p.x));
    EXPECT_TRUE(engine::FieldElement::fromBytes(pub.data() + 33, p.y));
    return p;
}

Bytes wordsToBytes(const std::uint32_t* words) {
    Bytes bytes;
    for (int w = 0; w < 5; ++w) {
        for (int b = 0; b < 4; ++b) {
            bytes.push_back(static_cast<std::uint8_t>(words[w] >> (24 - 8 * b)));
        }
    }
    return bytes;
}

// Whether the Base58Check address of `hash` with this version starts with `prefix`.
bool addressStartsWith(const Bytes& hash, std::uint8_t version, const std::string& prefix) {
    Bytes payload(1 + hash.size(), version);
    std::copy(hash.begin(), hash.end(), payload.begin() + 1);
    return tarwick::test::referenceBase58CheckEncode(payload).rfind(prefix, 0) == 0;
}

void checkWalk(bool compressed, bool pointsOnly = false) {
    std::string reason;
    const std::optional<cl::Device> device = tarwick::test::openclDeviceOrSkip(reason);
    if (!device) {
        GTEST_SKIP() << reason;
    }
    opencl_device::WalkLayout layout;
    layout.items = 32;
    layout.groupSize = 8;
    layout.half = 3;
    layout.compressed = compressed;
    layout.pointsOnly = pointsOnly;
    layout.dump = true;
    opencl_device::DeviceWalk walk(*device, layout,
                                   std::filesystem::path(TARWICK_OPENCL_TEST_CACHE));

    std::vector<std::string> warnings;
    // 1A: about one candidate in 22, so a launch has dozens of hits to compare; 3A, of
    // version 5, about as many more for the split-key walk.
    const engine::PatternSet bitcoin = engine::PatternSet::build({"1A"}, false, 0, warnings);
    const engine::PatternSet scriptHash = engine::PatternSet::build({"3A"}, false, 5, warnings);
    if (pointsOnly) {
        walk.setPatterns({&bitcoin, &scriptHash});
    } else {
        walk.setPatterns(bitcoin);
    }
    tarwick::test::TestRandom random(compressed ? 71 : 72);
    std::vector<Key> firstKeys;
    std::vector<engine::AffinePoint> centres;
    for (std::size_t i = 0; i < layout.items; ++i) {
        // The lowest key of the batch; the centre is `half` above it.
        Key first = random.key();
        if (i == 0) {
            first = tarwick::test::keyFromUint64(1); // the walk through G itself
        }
        firstKeys.push_back(first);
        centres.push_back(pointOf(
            tarwick::test::referenceKeyPlus(first, tarwick::test::keyFromUint64(layout.half))));
    }
    walk.setCentres(centres);
    std::uint64_t dropped = 0;
    std::set<std::tuple<std::uint32_t, std::uint32_t, std::uint32_t>> hits;
    for (const opencl_device::DeviceHit& hit : walk.launch(dropped)) {
        EXPECT_EQ(hit.pattern, 0u);
        hits.insert({hit.item, hit.point, hit.kind});
    }
    EXPECT_EQ(dropped, 0u);
    std::set<std::tuple<std::uint32_t, std::uint32_t, std::uint32_t>> expectedHits;
    const std::vector<std::uint32_t> dump = walk.readDump();
    const std::vector<engine::AffinePoint> next = walk.readCentres();

    const std::size_t points = walk.pointsPerItem();
    for (std::size_t item = 0; item < layout.items; ++item) {
        for (std::size_t p = 0; p < points; ++p) {
            const Key key =
                tarwick::test::referenceKeyPlus(firstKeys[item], tarwick::test::keyFromUint64(p));
            const std::uint32_t* words =
                dump.data() + (item * points + p) * opencl_device::kDumpWords;
            const engine::AffinePoint expected = pointOf(key);
            EXPECT_TRUE(opencl_device::fieldFromWords(words) == expected.x &&
                        opencl_device::fieldFromWords(words + 8) == expected.y)
                << "item " << item << " point " << p;
            const std::vector<Key> keys = candidateKeys(key);
            for (std::size_t kind = 0; kind < (pointsOnly ? 1 : keys.size()); ++kind) {
                const Bytes hash = tarwick::test::referenceHash160(
                    tarwick::test::referencePublicKey(keys[kind], compressed));
                EXPECT_EQ(tarwick::test::toHex(wordsToBytes(words + 16 + 5 * kind)),
                          tarwick::test::toHex(hash))
                    << "item " << item << " point " << p << " candidate " << kind;
                if (addressStartsWith(hash, 0, "1A") ||
                    (pointsOnly && addressStartsWith(hash, 5, "3A"))) {
                    expectedHits.insert({static_cast<std::uint32_t>(item),
                                         static_cast<std::uint32_t>(p),
                                         static_cast<std::uint32_t>(kind)});
                }
            }
        }
        const engine::AffinePoint expectedNext = pointOf(tarwick::test::referenceKeyPlus(
            firstKeys[item], tarwick::test::keyFromUint64(points + layout.half)));
        EXPECT_TRUE(next[item] == expectedNext) << "item " << item;
    }
    EXPECT_GT(expectedHits.size(), pointsOnly ? 5u : 10u);
    EXPECT_EQ(hits, expectedHits);
}

TEST(OpenClKernel, CompressedPointsAndHashesMatchTheReferences) {
    checkWalk(true);
}

TEST(OpenClKernel, UncompressedPointsAndHashesMatchTheReferences) {
    checkWalk(false);
}

TEST(OpenClKernel, SplitKeyWalkHashesPointsOnlyForEveryVersion) {
    checkWalk(false, true);
}

} // namespace
