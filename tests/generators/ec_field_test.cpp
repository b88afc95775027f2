// Field and scalar arithmetic of every field backend against OpenSSL's big numbers.

#include "ec_reference.h"
#include "engine/ec/Field.h"
#include "engine/ec/FieldBackend.h"
#include "engine/ec/Scalar.h"

#include <gtest/gtest.h>
#include <memory>
#include <openssl/bn.h>

namespace tarwick::engine {
namespace {

using test::Bytes;
using Bn = std::unique_ptr<BIGNUM, decltype(&BN_free)>;
using BnOp = int (*)(BIGNUM*, const BIGNUM*, const BIGNUM*, const BIGNUM*, BN_CTX*);

Bn bn(const Bytes& b) {
    return Bn(BN_bin2bn(b.data(), 32, nullptr), &BN_free);
}
Bytes hexBytes(const char* hex) {
    const test::Key k = test::keyFromHex(hex);
    return {k.begin(), k.end()};
}
template <typename T>
Bytes bytes(const T& v) {
    Bytes out(32);
    v.toBytes(out.data());
    return out;
}
template <typename T>
T from(const Bytes& b) {
    T v;
    EXPECT_TRUE(T::fromBytes(b.data(), v));
    return v;
}
BN_CTX* const kCtx = BN_CTX_new();
const Bytes kPrime = hexBytes("FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFEFFFFFC2F");
const Bytes kOrder = hexBytes("FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFEBAAEDCE6AF48A03BBFD25E8CD0364141");
const Bytes kZero(32, 0);

// a op b mod m; an inverse of zero is zero.
Bytes ref(BnOp op, const Bytes& a, const Bytes& b, const Bytes& m) {
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
std::vector<Bytes> testValues(const Bytes& m, int count, std::uint64_t stream) {
    test::TestRandom random(stream);
    std::vector<Bytes> values;
    for (std::uint64_t small : {0ul, 1ul, 2ul, 977ul, 0x1000003D1ul, 0xFFFFFFFFul}) {
        const test::Key k = test::keyFromUint64(small);
        values.emplace_back(k.begin(), k.end());
        values.push_back(ref(BN_mod_sub, kZero, values.back(), m));
    }
    for (int bit = 0; bit < 256; bit += 31) {
        Bytes power(32, 0), ones(32, 0);
        power[31 - bit / 8] = static_cast<std::uint8_t>(1 << (bit % 8));
        for (int b = 0; b <= bit; ++b) {
            ones[31 - b / 8] |= static_cast<std::uint8_t>(1 << (b % 8));
        }
        values.push_back(power);
        values.push_back(ones);
    }
    for (int i = 0; i < count; ++i) {
        values.push_back(i % 2 == 0 ? random.bytes(32) : random.edgeBytes(32));
    }
    for (Bytes& v : values) {
        v = ref(BN_mod_add, v, kZero, m);
    }
    return values;
}

TEST(EcField, EveryBackendMatchesOpenSsl) {
    const auto v = testValues(kPrime, test::randomIterations(1000), 1);
    for (FieldBackend backend : kAllFieldBackends) {
        if (!fieldBackendSupported(backend)) {
            continue;
        }
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
        for (std::size_t count : {std::size_t{1}, std::size_t{2}, std::size_t{17}, nonZero.size()})
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
    EXPECT_TRUE(fieldBackendSupported(FieldBackend::Portable));
    EXPECT_TRUE(fieldBackendSupported(fieldBackendInUse()));
    for (FieldBackend b : kAllFieldBackends) {
        EXPECT_EQ(fieldBackendFromName(fieldBackendName(b)), b);
    }
    EXPECT_FALSE(fieldBackendFromName("fast").has_value());
}

} // namespace
} // namespace tarwick::engine
