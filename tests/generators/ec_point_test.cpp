// Curve points, the key walker, the six candidates of a point and their hashes on every
// backend against libsecp256k1 and OpenSSL.

#include "ec_reference.h"
#include "engine/ec/Candidates.h"
#include "engine/ec/Point.h"
#include "engine/ec/PointWalker.h"
#include "engine/search/CandidateHasher.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace tarwick::engine {
namespace {

using test::Bytes;
using test::Key;
using test::keyFromUint64;
using test::referenceKeyPlus;
using test::referencePublicKey;

Scalar toScalar(const Key& k) {
    Scalar s;
    EXPECT_TRUE(Scalar::fromBytes(k.data(), s));
    return s;
}
Key toKey(const Scalar& s) {
    Key k;
    s.toBytes(k.data());
    return k;
}
Bytes serialized(const AffinePoint& p, bool compressed) {
    Bytes out(compressed ? kCompressedKeySize : kUncompressedKeySize);
    serializePoint(p, compressed, out.data());
    return out;
}
Key orderMinus(std::uint64_t v) {
    return test::referenceKeyNegated(keyFromUint64(v));
}
std::vector<FieldBackend> backends() {
    std::vector<FieldBackend> out;
    for (FieldBackend b : kAllFieldBackends) {
        if (fieldBackendSupported(b)) {
            out.push_back(b);
        }
    }
    return out;
}

// Every key's point, its six candidates (keys and public keys) and their hashes.
TEST(EcPoint, PointsCandidatesAndHashesMatchReferences) {
    test::TestRandom random(10);
    std::vector<Key> keys;
    for (std::uint64_t v : {1u, 2u, 3u, 7u, 256u, 65537u}) {
        keys.push_back(keyFromUint64(v));
        keys.push_back(orderMinus(v));
    }
    while (keys.size() < static_cast<std::size_t>(test::randomIterations(1000))) {
        keys.push_back(random.key());
    }
    std::vector<AffinePoint> points;
    std::vector<Bytes> hashes[2]; // the reference hash160 of each candidate, by compression
    const Key lambda = toKey(endomorphismLambda());
    for (const Key& k : keys) {
        points.push_back(multiplyGenerator(toScalar(k)));
        const Key k1 = test::referenceKeyTimes(k, lambda), k2 = test::referenceKeyTimes(k1, lambda);
        const Key expected[kCandidatesPerPoint] = {k,  test::referenceKeyNegated(k),
                                                   k1, test::referenceKeyNegated(k1),
                                                   k2, test::referenceKeyNegated(k2)};
        for (bool compressed : {true, false})
            for (FieldBackend backend : backends()) {
                const std::size_t size = serialized(points.back(), compressed).size();
                Bytes written(kCandidatesPerPoint * size);
                writeCandidateKeys(points.back(), compressed, written.data(), backend);
                for (std::size_t c = 0; c < kCandidatesPerPoint; ++c) {
                    const auto kind = static_cast<CandidateKind>(c);
                    ASSERT_EQ(toKey(candidateKey(toScalar(k), kind)), expected[c]) << c;
                    const Bytes reference = referencePublicKey(expected[c], compressed);
                    const auto at = written.begin() + static_cast<std::ptrdiff_t>(c * size);
                    ASSERT_EQ(Bytes(at, at + static_cast<std::ptrdiff_t>(size)), reference)
                        << fieldBackendName(backend) << " " << c << " " << test::toHex(k);
                    ASSERT_EQ(serialized(candidatePoint(points.back(), kind), compressed),
                              reference);
                    if (backend == FieldBackend::Portable) {
                        hashes[compressed].push_back(test::referenceHash160(reference));
                    }
                }
            }
    }
    for (bool compressed : {true, false})
        for (FieldBackend field : backends())
            for (HashBackend hash : kAllHashBackends) {
                if (!hashBackendSupported(hash)) {
                    continue;
                }
                CandidateHasher hasher(compressed, field, hash);
                Bytes out(points.size() * kCandidatesPerPoint * 20);
                hasher.hash(points.data(), points.size(), out.data());
                for (std::size_t i = 0; i < hashes[compressed].size(); ++i) {
                    const auto at = out.begin() + static_cast<std::ptrdiff_t>(i * 20);
                    ASSERT_EQ(Bytes(at, at + 20), hashes[compressed][i])
                        << fieldBackendName(field) << " " << hashBackendName(hash) << " " << i;
                }
            }
}

TEST(EcPoint, AdditionSpecialCases) {
    const AffinePoint g = generatorPoint();
    const AffinePoint twoG = toAffine(pointAdd(toJacobian(g), g));
    EXPECT_EQ(serialized(twoG, true), referencePublicKey(keyFromUint64(2), true));
    EXPECT_EQ(toAffine(pointDouble(toJacobian(g))), twoG);
    const JacobianPoint infinity{{}, {}, {}, true};
    EXPECT_EQ(toAffine(pointAdd(infinity, g)), g);
    EXPECT_TRUE(multiplyGenerator(Scalar::fromUint64(0)).infinity);
    const AffinePoint minusG = multiplyGenerator(toScalar(orderMinus(1)));
    EXPECT_TRUE(toAffine(pointAdd(toJacobian(minusG), g)).infinity);
    // The checked build's point invariant.
    const AffinePoint offCurve{g.x, fieldAdd(g.y, FieldElement::fromUint64(1)), false};
    const JacobianPoint zeroZ{g.x, g.y, {}, false};
    EXPECT_TRUE(pointIsValid(minusG) && pointIsValid(pointDouble(toJacobian(g))) &&
                pointIsValid(infinity));
    EXPECT_FALSE(pointIsValid(offCurve) || pointIsValid(zeroZ));
}

// Walks three batches from `first`: every point against libsecp256k1, and each batch goes
// on from the key after its last, or from 1 when the next batch would pass n.
void expectWalkMatches(std::size_t half, const Key& first, FieldBackend backend) {
    SCOPED_TRACE(fieldBackendName(backend));
    PointWalker walker(half, backend);
    walker.start(toScalar(first));
    std::vector<AffinePoint> points(walker.batchSize());
    for (int b = 0; b < 3; ++b) {
        const Key batchFirst = toKey(walker.firstKey());
        walker.next(points.data());
        for (std::size_t i = 0; i < points.size(); ++i) {
            ASSERT_EQ(serialized(points[i], false),
                      referencePublicKey(referenceKeyPlus(batchFirst, keyFromUint64(i)), false))
                << "half " << half << " batch " << b << " point " << i;
        }
        bool passes = true; // the sum below is exactly n when libsecp256k1 refuses it
        try {
            passes =
                referenceKeyPlus(batchFirst, keyFromUint64(2 * points.size() - 1)) < batchFirst;
        } catch (const std::invalid_argument&) {
        }
        ASSERT_EQ(toKey(walker.firstKey()),
                  passes ? keyFromUint64(1)
                         : referenceKeyPlus(batchFirst, keyFromUint64(points.size())));
    }
}

TEST(EcWalker, ConsecutiveKeysFromRandomAndEdgeStarts) {
    test::TestRandom random(11);
    for (FieldBackend backend : backends())
        for (std::size_t half : {1u, 2u, 5u, 64u, 512u}) {
            // 1: the centre is half*G, so the batch meets x(C) == x(i G); half + 1: the centre
            // is the step itself; n - 2 half: the last batch before n; n - 3 half + 1: the next
            // centre would be infinity.
            for (const Key& start :
                 {keyFromUint64(1), keyFromUint64(half + 1), orderMinus(2 * half),
                  orderMinus(3 * half - 1), random.key(), random.key()}) {
                expectWalkMatches(half, start, backend);
            }
        }
    PointWalker walker(4);
    walker.start(toScalar(orderMinus(3))); // too close to n for one batch
    EXPECT_EQ(toKey(walker.firstKey()), keyFromUint64(1));
}

} // namespace
} // namespace tarwick::engine
