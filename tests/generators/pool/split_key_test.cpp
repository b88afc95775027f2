// The split-key search's arithmetic against libsecp256k1 and OpenSSL: the walker from an
// arbitrary point, the independent check, the known vector and the wrap-around past n.

#include "PoolVectors.h"
#include "TestPool.h"
#include "ec_reference.h"
#include "engine/encoding/Address.h"
#include "engine/hash/Hash160.h"
#include "pool/CpuKeySearch.h"
#include "pool/SplitKeyCheck.h"
#include "pool/SplitKeyWalker.h"

#include <chrono>
#include <gtest/gtest.h>
#include <secp256k1.h>
#include <thread>

namespace {

using namespace tarwick;
using test::Bytes;
using test::Key;

std::array<std::uint8_t, 65> publicKeyOf(const Key& key) {
    const Bytes p = test::referencePublicKey(key, false);
    std::array<std::uint8_t, 65> out{};
    std::copy(p.begin(), p.end(), out.begin());
    return out;
}

engine::AffinePoint pointOf(const std::array<std::uint8_t, 65>& key) {
    engine::AffinePoint p;
    EXPECT_TRUE(engine::FieldElement::fromBytes(key.data() + 1, p.x));
    EXPECT_TRUE(engine::FieldElement::fromBytes(key.data() + 33, p.y));
    p.infinity = false;
    return p;
}

engine::Scalar scalarOf(const Key& key) {
    engine::Scalar s;
    EXPECT_TRUE(engine::Scalar::fromBytes(key.data(), s));
    return s;
}

// P + k*G by libsecp256k1, uncompressed; empty for the point at infinity.
Bytes referenceSum(const std::array<std::uint8_t, 65>& p, const Key& k) {
    secp256k1_context* context = secp256k1_context_create(SECP256K1_CONTEXT_NONE);
    secp256k1_pubkey point;
    EXPECT_EQ(secp256k1_ec_pubkey_parse(context, &point, p.data(), p.size()), 1);
    Bytes out;
    if (secp256k1_ec_pubkey_tweak_add(context, &point, k.data()) == 1) {
        out.resize(65);
        std::size_t length = out.size();
        secp256k1_ec_pubkey_serialize(context, out.data(), &length, &point,
                                      SECP256K1_EC_UNCOMPRESSED);
    }
    secp256k1_context_destroy(context);
    return out;
}

Bytes serialized(const engine::AffinePoint& p) {
    Bytes out(65);
    engine::serializePoint(p, false, out.data());
    return out;
}

Key keyOf(const engine::Scalar& s) {
    Key k;
    s.toBytes(k.data());
    return k;
}

TEST(SplitKey, VectorFromTheBitcoinWikiKey) {
    const Key a = test::keyFromHex(test::kRequesterKey);
    const auto p = publicKeyOf(a);
    pool::SplitKeyCheck check;
    EXPECT_EQ(check.address(p, test::keyFromUint64(0), 0), test::kRequesterAddress);
    EXPECT_EQ(check.address(p, test::keyFromUint64(test::kVectorOffset), 0), test::kVectorAddress);
    // The test pool's own derivation agrees, and the full key a + k controls the address.
    EXPECT_EQ(test::referenceSplitKeyAddress(test::toHex(p), "1398", 0), test::kVectorAddress);
    const Key full = test::referenceKeyPlus(a, test::keyFromUint64(test::kVectorOffset));
    EXPECT_EQ(full, test::keyFromHex(test::kVectorFullKey));
    EXPECT_EQ(test::referenceAddress(full, false), test::kVectorAddress);
}

TEST(SplitKey, WrapAroundPastTheGroupOrder) {
    // a = n - 1, k = 2: the full key is 1.
    const Key a = test::referenceKeyNegated(test::keyFromUint64(1));
    const Key full = test::referenceKeyPlus(a, test::keyFromUint64(2));
    EXPECT_EQ(full, test::keyFromUint64(1));
    const auto p = publicKeyOf(a);
    pool::SplitKeyCheck check;
    EXPECT_EQ(check.address(p, test::keyFromUint64(2), 0), "1EHNa6Q4Jz2uvNExL497mE43ikXhwF6kZm");
    // k = 1 gives the point at infinity: no address.
    EXPECT_EQ(check.address(p, test::keyFromUint64(1), 0), "");
}

TEST(SplitKey, WalkerFindsTheVectorOffset) {
    const auto p = publicKeyOf(test::keyFromHex(test::kRequesterKey));
    pool::SplitKeyWalker walker(256);
    const std::size_t before = 300; // the vector lands right of the batch's centre
    walker.start(pointOf(p), engine::Scalar::fromUint64(test::kVectorOffset - before));
    std::vector<engine::AffinePoint> points(walker.batchSize());
    walker.next(points.data());
    std::uint8_t hash[20];
    const Bytes key = serialized(points[before]);
    engine::hash160(key.data(), key.size(), hash);
    EXPECT_EQ(engine::p2pkhAddress(0, hash), test::kVectorAddress);
}

TEST(SplitKey, WalkerMatchesLibsecp256k1AcrossBatches) {
    test::TestRandom random(8);
    for (int round = 0; round < 3; ++round) {
        const auto p = publicKeyOf(random.key());
        const Key first = random.key();
        pool::SplitKeyWalker walker(round == 0 ? 1 : 37);
        walker.start(pointOf(p), scalarOf(first));
        std::vector<engine::AffinePoint> points(walker.batchSize());
        for (int batch = 0; batch < 3; ++batch) {
            const engine::Scalar offset = walker.firstOffset();
            walker.next(points.data());
            for (std::size_t i = 0; i < points.size(); ++i) {
                const Key k = keyOf(engine::scalarAdd(offset, engine::Scalar::fromUint64(i)));
                ASSERT_FALSE(points[i].infinity);
                ASSERT_EQ(serialized(points[i]), referenceSum(p, k))
                    << "round " << round << " batch " << batch << " point " << i;
            }
        }
    }
}

TEST(SplitKey, WalkerThroughTheNeighbourhoodOfZero) {
    // P = (n-1)*G: the walk from k = 0 passes the point at infinity at k = 1 and then G, 2G...
    // Offsets near n wrap the same way. Each batch here takes the slow, complete path.
    const Key minusOne = test::referenceKeyNegated(test::keyFromUint64(1));
    const auto p = publicKeyOf(minusOne);
    for (const Key& start :
         {test::keyFromUint64(0), test::referenceKeyNegated(test::keyFromUint64(5))}) {
        pool::SplitKeyWalker walker(4);
        walker.start(pointOf(p), scalarOf(start));
        std::vector<engine::AffinePoint> points(walker.batchSize());
        for (int batch = 0; batch < 3; ++batch) {
            const engine::Scalar offset = walker.firstOffset();
            walker.next(points.data());
            for (std::size_t i = 0; i < points.size(); ++i) {
                const Key k = keyOf(engine::scalarAdd(offset, engine::Scalar::fromUint64(i)));
                const Bytes expected = referenceSum(p, k);
                if (expected.empty()) {
                    EXPECT_TRUE(points[i].infinity) << "batch " << batch << " point " << i;
                } else {
                    ASSERT_FALSE(points[i].infinity);
                    EXPECT_EQ(serialized(points[i]), expected)
                        << "batch " << batch << " point " << i;
                }
            }
        }
    }
}

TEST(SplitKey, CheckRefusesWrongSolutions) {
    const auto p = publicKeyOf(test::keyFromHex(test::kRequesterKey));
    pool::SplitKeyCheck check;
    pool::Solution good;
    good.pattern = "1Abc";
    good.publicKey = p;
    good.offset = test::keyFromUint64(test::kVectorOffset);
    good.address = test::kVectorAddress;
    EXPECT_EQ(check.problem(good), "");

    pool::Solution otherOffset = good;
    otherOffset.offset = test::keyFromUint64(test::kVectorOffset + 1);
    EXPECT_NE(check.problem(otherOffset), "");
    pool::Solution otherPattern = good;
    otherPattern.pattern = "1Abd";
    EXPECT_NE(check.problem(otherPattern), "");
    pool::Solution lowerCase = good;
    lowerCase.pattern = "1abc"; // the pool matches case-sensitively
    EXPECT_NE(check.problem(lowerCase), "");
    pool::Solution otherVersion = good;
    otherVersion.addressVersion = 111;
    EXPECT_NE(check.problem(otherVersion), "");
    pool::Solution beyondN = good;
    beyondN.offset.fill(0xFF);
    EXPECT_NE(check.problem(beyondN), "");
}

TEST(SplitKey, CpuSearchFindsAnEasyPatternForAnyKey) {
    test::TestRandom random(21);
    const auto p = publicKeyOf(random.key());
    std::vector<std::string> warnings;
    const pool::SearchTarget target =
        pool::makeSearchTarget(p, {{0, "1Ab"}, {0, "1Cd"}, {5, "3F"}}, warnings);
    ASSERT_EQ(target.patterns.size(), 2u);
    pool::CpuKeySearch search(1, 64);
    search.start(target);
    std::vector<pool::SearchHit> hits;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (hits.size() < 3 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        for (auto& h : search.takeHits())
            hits.push_back(std::move(h));
    }
    search.stop();
    ASSERT_FALSE(hits.empty());
    EXPECT_GT(search.keysChecked(), 0u);
    pool::SplitKeyCheck check;
    for (const pool::SearchHit& hit : hits) {
        const Key k = keyOf(hit.offset);
        const std::string reference =
            test::referenceSplitKeyAddress(test::toHex(p), test::toHex(k), hit.version);
        EXPECT_EQ(hit.address, reference);
        EXPECT_EQ(reference.compare(0, hit.pattern.size(), hit.pattern), 0) << reference;
        pool::Solution s{hit.pattern, p, hit.version, k, hit.address};
        EXPECT_EQ(check.problem(s), "");
    }
}

} // namespace
