// The curve arithmetic on every field backend: field and scalar values against OpenSSL's big
// numbers; points, the key walker, the six candidates of a point and their hashes against
// libsecp256k1 and OpenSSL.

#include "EcReference.h"
#include "engine/ec/Candidates.h"
#include "engine/ec/PointWalker.h"
#include "engine/search/CandidateHasher.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>
#include <openssl/bn.h>

namespace tarwick::engine {
namespace {

using test::Bytes;
using test::Key;
using test::keyFromUint64;
using test::referenceKeyPlus;
using test::referencePublicKey;
using Bn = std::unique_ptr<BIGNUM, decltype(&BN_free)>;
using BnOp = int (*)(BIGNUM*, const BIGNUM*, const BIGNUM*, const BIGNUM*, BN_CTX*);

template <typename Container>
Bn bn(const Container& b) {
    return Bn(BN_bin2bn(b.data(), 32, nullptr), &BN_free);
}
template <typename T>
Bytes bytes(const T& v) {
    Bytes out(32);
    v.toBytes(out.data());
    return out;
}
template <typename T, typename Container>
T from(const Container& b) {
    T v;
    EXPECT_TRUE(T::fromBytes(b.data(), v));
    return v;
}
BN_CTX* const kCtx = BN_CTX_new();
const Key kPrime =
    test::keyFromHex("FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFEFFFFFC2F");
const Key kOrder =
    test::keyFromHex("FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFEBAAEDCE6AF48A03BBFD25E8CD0364141");
const Bytes kZero(32, 0);

// a op b mod m; an inverse of zero is zero.
Bytes ref(BnOp op, const Bytes& a, const Bytes& b, const Key& m) {
    Bn r(BN_new(), &BN_free);
    if (op != nullptr) {
        op(r.get(), bn(a).get(), bn(b).get(), bn(m).get(), kCtx);
    } else if (BN_mod_inverse(r.get(), bn(a).get(), bn(m).get(), kCtx) == nullptr) {
        BN_zero(r.get());
    }
    Bytes out(32);
    BN_bn2binpad(r.get(), out.data(), 32);
    return out;
}

// Below m: the edges (small values, m - small, powers of two, runs of ones) that reach every
// carry path, then random values, uniform and edgeBytes in turn.
std::vector<Bytes> testValues(const Key& m, int count, std::uint64_t stream) {
    test::TestRandom random(stream);
    std::vector<Bytes> values;
    for (std::uint64_t small : {0ul, 1ul, 2ul, 977ul, 0x1000003D1ul, 0xFFFFFFFFul}) {
        values.push_back(bytes(Scalar::fromUint64(small)));
        values.push_back(ref(BN_mod_sub, kZero, values.back(), m));
    }
    for (int bit = 0; bit < 256; bit += 31) {
        Bytes power(32, 0), one(32, 0);
        power[31 - bit / 8] = static_cast<std::uint8_t>(1 << (bit % 8));
        one[31] = 1;
        values.push_back(power);
        values.push_back(ref(BN_mod_add, power, ref(BN_mod_sub, power, one, m), m)); // all ones
    }
    for (int i = 0; i < count; ++i) {
        values.push_back(i % 2 == 0 ? random.bytes(32) : random.edgeBytes(32));
    }
    for (Bytes& v : values) {
        v = ref(BN_mod_add, v, kZero, m);
    }
    return values;
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
// The backends this machine runs, of all there are.
template <typename Backend, std::size_t N>
std::vector<Backend> supported(const Backend (&all)[N], bool (*runs)(Backend)) {
    std::vector<Backend> out;
    std::copy_if(all, all + N, std::back_inserter(out), runs);
    return out;
}
std::vector<FieldBackend> backends() {
    return supported(kAllFieldBackends, fieldBackendSupported);
}

TEST(EcField, EveryBackendMatchesOpenSsl) {
    const auto v = testValues(kPrime, test::randomIterations(1000), 1);
    for (FieldBackend backend : backends()) {
        SCOPED_TRACE(fieldBackendName(backend));
        withFieldOps(backend, [&](auto ops) {
            using Ops = decltype(ops);
            for (std::size_t i = 0; i < v.size(); ++i) {
                const auto a = from<FieldElement>(v[i]);
                for (std::size_t j : {i, (i * 13 + 5) % v.size(), v.size() - 1 - i}) {
                    const auto b = from<FieldElement>(v[j]);
                    ASSERT_EQ(bytes(Ops::mul(a, b)), ref(BN_mod_mul, v[i], v[j], kPrime)) << i;
                    ASSERT_EQ(bytes(fieldAdd(a, b)), ref(BN_mod_add, v[i], v[j], kPrime)) << i;
                    ASSERT_EQ(bytes(fieldSub(a, b)), ref(BN_mod_sub, v[i], v[j], kPrime)) << i;
                }
                ASSERT_EQ(bytes(Ops::sqr(a)), ref(BN_mod_mul, v[i], v[i], kPrime)) << i;
                ASSERT_EQ(bytes(fieldNegate(a)), ref(BN_mod_sub, kZero, v[i], kPrime)) << i;
                ASSERT_EQ(bytes(fieldInverseWith<Ops>(a)), ref(nullptr, v[i], kZero, kPrime)) << i;
            }
        });
        // Montgomery's trick: the single inverses, or a refusal that leaves the values.
        std::vector<FieldElement> nonZero, scratch(v.size());
        for (const Bytes& x : v) {
            if (x != kZero) {
                nonZero.push_back(from<FieldElement>(x));
            }
        }
        for (std::size_t count :
             {std::size_t{1}, std::size_t{2}, std::size_t{17}, nonZero.size()}) {
            for (bool zero : {false, true}) {
                std::vector<FieldElement> values(nonZero.begin(), nonZero.begin() + count);
                values[count / 2] = zero ? FieldElement{} : values[count / 2];
                auto inverses = values;
                ASSERT_EQ(backend == FieldBackend::Portable
                              ? batchInverse(inverses.data(), count, scratch.data())
                              : batchInverse(inverses.data(), count, scratch.data(), backend),
                          !zero);
                for (std::size_t i = 0; i < count; ++i) {
                    ASSERT_EQ(inverses[i], zero ? values[i] : fieldInverse(values[i])) << i;
                }
            }
        }
        // The IFMA lanes: eight neighbouring values against a partner each.
        for (std::size_t i = 0; backend == FieldBackend::Ifma && i + kFieldLanes <= v.size(); ++i) {
            FieldElement a[kFieldLanes], b[kFieldLanes], product[kFieldLanes], diff[kFieldLanes];
            for (std::size_t lane = 0; lane < kFieldLanes; ++lane) {
                a[lane] = from<FieldElement>(v[i + lane]);
                b[lane] = from<FieldElement>(v[(i * 13 + lane) % v.size()]);
            }
            fieldMulLanes(a, b, product);
            fieldSubLanes(a, b, diff);
            for (std::size_t lane = 0; lane < kFieldLanes; ++lane) {
                const Bytes x = bytes(a[lane]), y = bytes(b[lane]);
                ASSERT_EQ(bytes(product[lane]), ref(BN_mod_mul, x, y, kPrime)) << i << " " << lane;
                ASSERT_EQ(bytes(diff[lane]), ref(BN_mod_sub, x, y, kPrime)) << i << " " << lane;
            }
        }
    }
}

TEST(EcScalar, ArithmeticMatchesOpenSsl) {
    const auto v = testValues(kOrder, test::randomIterations(200), 3);
    for (std::size_t i = 0; i < v.size(); ++i) {
        const std::size_t j = (i * 5 + 1) % v.size();
        const auto a = from<Scalar>(v[i]), b = from<Scalar>(v[j]);
        ASSERT_EQ(bytes(scalarAdd(a, b)), ref(BN_mod_add, v[i], v[j], kOrder)) << i;
        ASSERT_EQ(bytes(scalarMul(a, b)), ref(BN_mod_mul, v[i], v[j], kOrder)) << i;
        ASSERT_EQ(bytes(scalarNegate(a)), ref(BN_mod_sub, kZero, v[i], kOrder)) << i;
    }
}

TEST(EcField, ReducedValuesAndBackendNames) {
    FieldElement f;
    Scalar s = kGroupOrder;
    EXPECT_FALSE(FieldElement::fromBytes(kPrime.data(), f) || Scalar::fromBytes(kOrder.data(), s));
    EXPECT_FALSE(FieldElement::fromBytes(Bytes(32, 0xFF).data(), f) || scalarIsReduced(s));
    // The checked build's invariant, on p - 1, p and values next to them in other limbs.
    constexpr std::uint64_t kOnes = ~0ULL, kPrimeLow = 0xFFFFFFFEFFFFFC2FULL;
    EXPECT_TRUE(fieldIsReduced({{kPrimeLow - 1, kOnes, kOnes, kOnes}}));
    EXPECT_TRUE(fieldIsReduced({{kOnes, kOnes, kOnes - 1, kOnes}}));
    EXPECT_FALSE(fieldIsReduced({{kPrimeLow, kOnes, kOnes, kOnes}}));
    EXPECT_FALSE(fieldIsReduced({{kOnes, kOnes, kOnes, kOnes}}));
    s = from<Scalar>(ref(BN_mod_sub, kZero, bytes(Scalar::fromUint64(100)), kOrder)); // n - 100
    EXPECT_TRUE(scalarIsReduced(s) && scalarRangeFits(s, 100) && !scalarRangeFits(s, 101));
    EXPECT_TRUE(fieldBackendSupported(FieldBackend::Portable) &&
                fieldBackendSupported(fieldBackendInUse()));
    for (FieldBackend b : kAllFieldBackends) {
        EXPECT_EQ(fieldBackendFromName(fieldBackendName(b)), b);
    }
    EXPECT_FALSE(fieldBackendFromName("fast").has_value());
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
    for (const Key& k : keys) {
        points.push_back(multiplyGenerator(from<Scalar>(k)));
        const std::vector<Key> expected = test::referenceCandidateKeys(k);
        for (bool compressed : {true, false}) {
            for (FieldBackend backend : backends()) {
                const std::size_t size = serialized(points.back(), compressed).size();
                Bytes written(kCandidatesPerPoint * size);
                writeCandidateKeys(points.back(), compressed, written.data(), backend);
                for (std::size_t c = 0; c < kCandidatesPerPoint; ++c) {
                    const auto kind = static_cast<CandidateKind>(c);
                    ASSERT_EQ(toKey(candidateKey(from<Scalar>(k), kind)), expected[c]) << c;
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
    }
    for (bool compressed : {true, false}) {
        for (FieldBackend field : backends()) {
            for (HashBackend hash : supported(kAllHashBackends, hashBackendSupported)) {
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
    const AffinePoint minusG = multiplyGenerator(from<Scalar>(orderMinus(1)));
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
    walker.start(from<Scalar>(first));
    std::vector<AffinePoint> points(walker.batchSize());
    for (int b = 0; b < 3; ++b) {
        const Key batchFirst = toKey(walker.firstKey());
        walker.next(points.data());
        for (std::size_t i = 0; i < points.size(); ++i) {
            ASSERT_EQ(serialized(points[i], false),
                      referencePublicKey(referenceKeyPlus(batchFirst, keyFromUint64(i)), false))
                << "half " << half << " batch " << b << " point " << i;
        }
        // Keys are big-endian: they compare as numbers.
        const bool passes = batchFirst >= orderMinus(2 * points.size() - 1);
        ASSERT_EQ(toKey(walker.firstKey()),
                  passes ? keyFromUint64(1)
                         : referenceKeyPlus(batchFirst, keyFromUint64(points.size())));
    }
}

TEST(EcWalker, ConsecutiveKeysFromRandomAndEdgeStarts) {
    test::TestRandom random(11);
    for (FieldBackend backend : backends()) {
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
    }
    PointWalker walker(4);
    walker.start(from<Scalar>(orderMinus(3))); // too close to n for one batch
    EXPECT_EQ(toKey(walker.firstKey()), keyFromUint64(1));
}

} // namespace
} // namespace tarwick::engine
