// The split-key search's arithmetic against libsecp256k1 and OpenSSL: the walker from random
// points and through the point at infinity, the independent check, the known vector and the
// wrap-around past n, and the CPU search's hits.

#include "PoolVectors.h"
#include "TestPool.h"
#include "ec_reference.h"
#include "pool/CpuKeySearch.h"
#include "pool/SplitKeyCheck.h"
#include "pool/SplitKeyWalker.h"

#include <functional>
#include <gtest/gtest.h>
#include <thread>

namespace {

using namespace tarwick;
using test::Bytes;
using test::Key;
using PublicKey = std::array<std::uint8_t, 65>;

PublicKey publicKeyOf(const Key& key) {
    const Bytes p = test::referencePublicKey(key, false);
    PublicKey out{};
    std::copy(p.begin(), p.end(), out.begin());
    return out;
}

Key keyOf(const engine::Scalar& s) {
    Key k;
    s.toBytes(k.data());
    return k;
}

TEST(SplitKey, CheckAddressOfTheVectorAndPastTheGroupOrder) {
    const Key a = test::keyFromHex(test::kRequesterKey);
    const Key minusOne = test::referenceKeyNegated(test::keyFromUint64(1));
    struct Case {
        Key a;
        std::uint64_t k;
        const char* address;
    };
    const Case cases[] = {
        {a, 0, test::kRequesterAddress},
        {a, test::kVectorOffset, test::kVectorAddress},
        {minusOne, 2, "1EHNa6Q4Jz2uvNExL497mE43ikXhwF6kZm"}, // (n - 1 + 2) G = G
        {minusOne, 1, ""},                                   // the point at infinity
    };
    const pool::SplitKeyCheck check;
    for (const auto& c : cases)
        EXPECT_EQ(check.address(publicKeyOf(c.a), test::keyFromUint64(c.k), 0), c.address);
    // The test pool's own derivation agrees, and the full key a + k controls the address.
    EXPECT_EQ(test::referenceSplitKeyAddress(test::toHex(publicKeyOf(a)), "1398", 0),
              test::kVectorAddress);
    const Key full = test::referenceKeyPlus(a, test::keyFromUint64(test::kVectorOffset));
    EXPECT_EQ(full, test::keyFromHex(test::kVectorFullKey));
    EXPECT_EQ(test::referenceAddress(full, false), test::kVectorAddress);
}

TEST(SplitKey, WalkerMatchesLibsecp256k1) {
    test::TestRandom random(8);
    const Key minusOne = test::referenceKeyNegated(test::keyFromUint64(1));
    struct Case {
        Key a, start;
        std::size_t batch;
    };
    // P = (n-1)*G: the walk from k = 0 passes the point at infinity at k = 1 and then G, 2G...
    // Offsets near n wrap the same way. Those batches take the slow, complete path.
    const Case cases[] = {
        {random.key(), random.key(), 1},
        {random.key(), random.key(), 37},
        {random.key(), random.key(), 256},
        {minusOne, test::keyFromUint64(0), 4},
        {minusOne, test::referenceKeyNegated(test::keyFromUint64(5)), 4},
    };
    for (const auto& c : cases) {
        const PublicKey p = publicKeyOf(c.a);
        engine::AffinePoint start;
        ASSERT_TRUE(engine::FieldElement::fromBytes(p.data() + 1, start.x));
        ASSERT_TRUE(engine::FieldElement::fromBytes(p.data() + 33, start.y));
        start.infinity = false;
        engine::Scalar first;
        ASSERT_TRUE(engine::Scalar::fromBytes(c.start.data(), first));
        pool::SplitKeyWalker walker(c.batch);
        walker.start(start, first);
        std::vector<engine::AffinePoint> points(walker.batchSize());
        for (int batch = 0; batch < 3; ++batch) {
            const engine::Scalar offset = walker.firstOffset();
            walker.next(points.data());
            for (std::size_t i = 0; i < points.size(); ++i) {
                const Key k = keyOf(engine::scalarAdd(offset, engine::Scalar::fromUint64(i)));
                const Bytes expected = test::referenceSplitKeySum(test::toHex(p), test::toHex(k));
                Bytes point(65);
                if (!points[i].infinity)
                    engine::serializePoint(points[i], false, point.data());
                ASSERT_EQ(points[i].infinity ? Bytes() : point, expected)
                    << c.batch << " batch " << batch << " point " << i;
            }
        }
    }
}

TEST(SplitKey, CheckRefusesWrongSolutions) {
    pool::Solution good;
    good.pattern = "1Abc";
    good.publicKey = publicKeyOf(test::keyFromHex(test::kRequesterKey));
    good.offset = test::keyFromUint64(test::kVectorOffset);
    good.address = test::kVectorAddress;
    const pool::SplitKeyCheck check;
    EXPECT_EQ(check.problem(good), "");
    const std::pair<std::function<void(pool::Solution&)>, const char*> wrongs[] = {
        {[](auto& s) { s.offset = test::keyFromUint64(test::kVectorOffset + 1); }, "offset"},
        {[](auto& s) { s.pattern = "1Abd"; }, "pattern"},
        {[](auto& s) { s.pattern = "1abc"; }, "the pool matches case-sensitively"},
        {[](auto& s) { s.addressVersion = 111; }, "version"},
        {[](auto& s) { s.offset.fill(0xFF); }, "offset beyond n"},
    };
    for (const auto& [change, name] : wrongs) {
        pool::Solution wrong = good;
        change(wrong);
        EXPECT_NE(check.problem(wrong), "") << name;
    }
}

TEST(SplitKey, CpuSearchHitsPassTheReference) {
    const PublicKey p = publicKeyOf(test::TestRandom(21).key());
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
    const pool::SplitKeyCheck check;
    for (const pool::SearchHit& hit : hits) {
        const Key k = keyOf(hit.offset);
        const std::string reference =
            test::referenceSplitKeyAddress(test::toHex(p), test::toHex(k), hit.version);
        EXPECT_EQ(hit.address, reference);
        EXPECT_EQ(reference.compare(0, hit.pattern.size(), hit.pattern), 0) << reference;
        EXPECT_EQ(check.problem({hit.pattern, p, hit.version, k, hit.address}), "");
    }
}

} // namespace
