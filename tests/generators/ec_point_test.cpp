// Curve points, the key walker and the six candidates of a point against libsecp256k1, their
// hashes against OpenSSL.

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
using test::TestRandom;

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

std::vector<FieldBackend> supportedBackends() {
    std::vector<FieldBackend> out;
    for (FieldBackend b : kAllFieldBackends) {
        if (fieldBackendSupported(b)) {
            out.push_back(b);
        }
    }
    return out;
}

Key orderMinus(std::uint64_t v) {
    return test::referenceKeyNegated(test::keyFromUint64(v));
}

TEST(EcPoint, GeneratorMultiplesMatchLibsecp256k1) {
    TestRandom random(10);
    std::vector<Key> keys;
    for (std::uint64_t v : {1u, 2u, 3u, 4u, 7u, 255u, 256u, 65537u}) {
        keys.push_back(test::keyFromUint64(v));
        keys.push_back(orderMinus(v));
    }
    for (int i = 0; i < test::randomIterations(1500); ++i) {
        keys.push_back(random.key());
    }
    for (const Key& k : keys) {
        const AffinePoint p = multiplyGenerator(toScalar(k));
        ASSERT_FALSE(p.infinity);
        ASSERT_EQ(serialized(p, true), test::referencePublicKey(k, true)) << test::toHex(k);
        ASSERT_EQ(serialized(p, false), test::referencePublicKey(k, false)) << test::toHex(k);
    }
}

TEST(EcPoint, AdditionSpecialCases) {
    const AffinePoint g = generatorPoint();
    const AffinePoint twoG = toAffine(pointAdd(toJacobian(g), g));
    EXPECT_EQ(serialized(twoG, true), test::referencePublicKey(test::keyFromUint64(2), true));
    EXPECT_EQ(toAffine(pointDouble(toJacobian(g))), twoG);
    EXPECT_TRUE(toAffine(pointAdd(toJacobian(g), pointNegate(g))).infinity);
    const JacobianPoint infinity{{}, {}, {}, true};
    EXPECT_EQ(toAffine(pointAdd(infinity, g)), g);
    EXPECT_TRUE(multiplyGenerator(Scalar::fromUint64(0)).infinity);
    // (n - 1) G + G is the point at infinity; n - 1 is -1.
    const AffinePoint minusG = multiplyGenerator(toScalar(orderMinus(1)));
    EXPECT_EQ(minusG, pointNegate(g));
    EXPECT_TRUE(toAffine(pointAdd(toJacobian(minusG), g)).infinity);
    // The checked build's point invariant.
    const AffinePoint offCurve{g.x, fieldAdd(g.y, FieldElement::fromUint64(1)), false};
    const JacobianPoint zeroZ{g.x, g.y, {}, false};
    EXPECT_TRUE(pointIsValid(minusG) && pointIsValid(pointDouble(toJacobian(g))) &&
                pointIsValid(infinity));
    EXPECT_FALSE(pointIsValid(offCurve) || pointIsValid(zeroZ));
}

// Walks `batches` batches from `first` and compares every point with libsecp256k1.
void expectWalkMatches(std::size_t half, const Key& first, int batches,
                       FieldBackend backend = FieldBackend::Portable) {
    SCOPED_TRACE(fieldBackendName(backend));
    PointWalker walker(half, backend);
    walker.start(toScalar(first));
    std::vector<AffinePoint> points(walker.batchSize());
    for (int b = 0; b < batches; ++b) {
        const Key batchFirst = toKey(walker.firstKey());
        walker.next(points.data());
        for (std::size_t i = 0; i < points.size(); ++i) {
            const Key k = test::referenceKeyPlus(batchFirst, test::keyFromUint64(i));
            ASSERT_EQ(serialized(points[i], false), test::referencePublicKey(k, false))
                << "half " << half << " batch " << b << " point " << i << " key " << test::toHex(k);
        }
        const Key next = toKey(walker.firstKey());
        const std::uint64_t size = walker.batchSize();
        if (next == test::keyFromUint64(1)) {
            // Only a walk whose next batch would pass n goes on from key 1.
            bool passes = false;
            try {
                passes = test::referenceKeyPlus(batchFirst, test::keyFromUint64(2 * size - 1)) <
                         batchFirst;
            } catch (const std::invalid_argument&) {
                passes = true; // the sum is exactly n
            }
            ASSERT_TRUE(passes) << test::toHex(batchFirst);
        } else {
            ASSERT_EQ(next, test::referenceKeyPlus(batchFirst, test::keyFromUint64(size)));
        }
    }
}

TEST(EcWalker, ConsecutiveKeysFromRandomStarts) {
    TestRandom random(11);
    for (std::size_t half : {1u, 2u, 3u, 8u, 64u, 512u}) {
        const int starts = half >= 512 ? 2 : 4;
        for (int s = 0; s < starts; ++s) {
            const Key start = random.key();
            for (FieldBackend backend : supportedBackends()) {
                expectWalkMatches(half, start, 3, backend);
            }
        }
    }
}

TEST(EcWalker, StartsNextToZeroAndOrder) {
    for (FieldBackend backend : supportedBackends())
        for (std::size_t half : {1u, 2u, 5u, 16u}) {
            // first = 1: the centre is half*G, so the batch meets x(C) == x(i G).
            expectWalkMatches(half, test::keyFromUint64(1), 3, backend);
            expectWalkMatches(half, test::keyFromUint64(2), 2, backend);
            // the centre equals 2*half*G, the step itself.
            expectWalkMatches(half, test::keyFromUint64(half + 1), 2, backend);
            // the last batch before n, then the walk goes on from 1.
            expectWalkMatches(half, orderMinus(2 * half), 2, backend);
            // the centre is -(2*half) G: the next centre would be infinity.
            expectWalkMatches(half, orderMinus(3 * half - 1), 2, backend);
        }
}

TEST(EcWalker, StartTooCloseToOrderGoesToOne) {
    PointWalker walker(4);
    walker.start(toScalar(orderMinus(3)));
    EXPECT_EQ(toKey(walker.firstKey()), test::keyFromUint64(1));
}

TEST(EcCandidates, EndomorphismConstantsAreCubeRootsOfUnity) {
    const FieldElement beta = endomorphismBeta();
    EXPECT_EQ(fieldSqr(beta), endomorphismBeta2());
    EXPECT_EQ(fieldMul(endomorphismBeta2(), beta), FieldElement::fromUint64(1));
    EXPECT_NE(beta, FieldElement::fromUint64(1));
    // The same for lambda, with libsecp256k1's scalar multiplication.
    const Key lambda = toKey(endomorphismLambda());
    const Key lambda2 = test::referenceKeyTimes(lambda, lambda);
    EXPECT_EQ(toKey(endomorphismLambda2()), lambda2);
    EXPECT_EQ(test::referenceKeyTimes(lambda2, lambda), test::keyFromUint64(1));
    // lambda * G = (beta * x(G), y(G))
    EXPECT_EQ(serialized(candidatePoint(generatorPoint(), CandidateKind::Lambda), false),
              test::referencePublicKey(lambda, false));
}

TEST(EcCandidates, SixKeysPerPointMatchLibsecp256k1) {
    TestRandom random(12);
    const Key lambda = toKey(endomorphismLambda());
    std::vector<Key> keys = {test::keyFromUint64(1), test::keyFromUint64(2), orderMinus(1)};
    for (int i = 0; i < test::randomIterations(1000); ++i) {
        keys.push_back(random.key());
    }
    for (const Key& k : keys) {
        const AffinePoint p = multiplyGenerator(toScalar(k));
        // The private keys as libsecp256k1 computes them.
        const Key k1 = test::referenceKeyTimes(k, lambda);
        const Key k2 = test::referenceKeyTimes(k1, lambda);
        const Key expectedKeys[kCandidatesPerPoint] = {k,  test::referenceKeyNegated(k),
                                                       k1, test::referenceKeyNegated(k1),
                                                       k2, test::referenceKeyNegated(k2)};
        for (bool compressed : {true, false})
            for (FieldBackend backend : supportedBackends()) {
                const std::size_t size = compressed ? kCompressedKeySize : kUncompressedKeySize;
                Bytes written(kCandidatesPerPoint * size);
                writeCandidateKeys(p, compressed, written.data(), backend);
                for (std::size_t c = 0; c < kCandidatesPerPoint; ++c) {
                    const auto kind = static_cast<CandidateKind>(c);
                    const Key key = toKey(candidateKey(toScalar(k), kind));
                    ASSERT_EQ(key, expectedKeys[c]) << c << " " << test::toHex(k);
                    const Bytes reference = test::referencePublicKey(key, compressed);
                    ASSERT_EQ(Bytes(written.begin() + static_cast<std::ptrdiff_t>(c * size),
                                    written.begin() + static_cast<std::ptrdiff_t>((c + 1) * size)),
                              reference)
                        << "candidate " << c << " key " << test::toHex(k);
                    ASSERT_EQ(serialized(candidatePoint(p, kind), compressed), reference);
                }
            }
    }
}

TEST(EcCandidates, WalkerPointsFeedCandidatesAtBatchEdges) {
    // Every candidate of the first and last points of several batches.
    TestRandom random(13);
    for (FieldBackend backend : supportedBackends()) {
        PointWalker walker(256, backend);
        walker.start(toScalar(random.key()));
        std::vector<AffinePoint> points(walker.batchSize());
        for (int b = 0; b < 3; ++b) {
            const Scalar first = walker.firstKey();
            walker.next(points.data());
            for (std::size_t i : {std::size_t{0}, std::size_t{1}, std::size_t{255},
                                  std::size_t{256}, points.size() - 2, points.size() - 1}) {
                const Scalar k = scalarAdd(first, Scalar::fromUint64(i));
                Bytes written(kCandidatesPerPoint * kCompressedKeySize);
                writeCandidateKeys(points[i], true, written.data(), backend);
                for (std::size_t c = 0; c < kCandidatesPerPoint; ++c) {
                    const Key key = toKey(candidateKey(k, static_cast<CandidateKind>(c)));
                    ASSERT_EQ(Bytes(written.begin() + static_cast<std::ptrdiff_t>(c * 33),
                                    written.begin() + static_cast<std::ptrdiff_t>(c * 33 + 33)),
                              test::referencePublicKey(key, true))
                        << "batch " << b << " point " << i << " candidate " << c;
                }
            }
        }
    }
}

TEST(EcCandidates, HashesOnEveryPathMatchReferences) {
    // Two full groups of eight points and a part group; keys next to 0 and n included.
    TestRandom random(14);
    std::vector<Key> keys = {test::keyFromUint64(1), orderMinus(1), test::keyFromUint64(3)};
    while (keys.size() < 21) {
        keys.push_back(random.key());
    }
    std::vector<AffinePoint> points;
    for (const Key& k : keys) {
        points.push_back(multiplyGenerator(toScalar(k)));
    }
    for (bool compressed : {true, false})
        for (FieldBackend field : supportedBackends())
            for (HashBackend hash : kAllHashBackends) {
                if (!hashBackendSupported(hash)) {
                    continue;
                }
                SCOPED_TRACE(std::string(fieldBackendName(field)) + " " + hashBackendName(hash));
                CandidateHasher hasher(compressed, field, hash);
                Bytes out(points.size() * kCandidatesPerPoint * 20);
                hasher.hash(points.data(), points.size(), out.data());
                for (std::size_t i = 0; i < keys.size(); ++i)
                    for (std::size_t c = 0; c < kCandidatesPerPoint; ++c) {
                        const Key key =
                            toKey(candidateKey(toScalar(keys[i]), static_cast<CandidateKind>(c)));
                        const auto at = out.begin() + static_cast<std::ptrdiff_t>(
                                                          (i * kCandidatesPerPoint + c) * 20);
                        ASSERT_EQ(Bytes(at, at + 20),
                                  test::referenceHash160(test::referencePublicKey(key, compressed)))
                            << "compressed " << compressed << " point " << i << " candidate " << c;
                    }
            }
}

} // namespace
} // namespace tarwick::engine
