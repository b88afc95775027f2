// Field and scalar arithmetic against OpenSSL's big numbers.

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
using test::TestRandom;

struct BnDeleter {
    void operator()(BIGNUM* b) const { BN_free(b); }
};
using Bn = std::unique_ptr<BIGNUM, BnDeleter>;

Bn bnFromBytes(const std::uint8_t* bytes) {
    return Bn(BN_bin2bn(bytes, 32, nullptr));
}

Bn bnFromHex(const char* hex) {
    BIGNUM* b = nullptr;
    BN_hex2bn(&b, hex);
    return Bn(b);
}

Bytes bnToBytes(const BIGNUM* b) {
    Bytes out(32);
    BN_bn2binpad(b, out.data(), 32);
    return out;
}

Bytes fieldBytes(const FieldElement& f) {
    Bytes out(32);
    f.toBytes(out.data());
    return out;
}

Bytes scalarBytes(const Scalar& s) {
    Bytes out(32);
    s.toBytes(out.data());
    return out;
}

const BIGNUM* prime() {
    static Bn p = bnFromHex("FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFEFFFFFC2F");
    return p.get();
}

const BIGNUM* order() {
    static Bn n = bnFromHex("FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFEBAAEDCE6AF48A03BBFD25E8CD0364141");
    return n.get();
}

// Values below the modulus m: the edges (0, 1, small, m-1, m-2, values with long runs of one
// bits, powers of two) that exercise every carry path, then random values, uniform and with
// long runs of equal bits in turn.
std::vector<Bytes> testValues(const BIGNUM* m, TestRandom& random, int count) {
    std::vector<Bytes> values;
    BN_CTX* ctx = BN_CTX_new();
    auto add = [&](const BIGNUM* v) {
        Bn r(BN_new());
        BN_nnmod(r.get(), v, m, ctx);
        values.push_back(bnToBytes(r.get()));
    };
    for (unsigned long small : {0ul, 1ul, 2ul, 3ul, 977ul, 0x1000003D1ul, 0xFFFFFFFFul}) {
        Bn v(BN_new());
        BN_set_word(v.get(), small);
        add(v.get());
        Bn w(BN_dup(m));
        BN_sub_word(w.get(), small + 1);
        add(w.get());
    }
    for (int bit = 0; bit < 256; bit += 31) {
        Bn v(BN_new());
        BN_set_bit(v.get(), bit);
        add(v.get());
        Bn ones(BN_new());
        BN_set_word(ones.get(), 1);
        BN_lshift(ones.get(), ones.get(), bit + 1);
        BN_sub_word(ones.get(), 1);
        add(ones.get());
    }
    for (int i = 0; i < count; ++i) {
        const Bytes raw = i % 2 == 0 ? random.bytes(32) : random.edgeBytes(32);
        add(bnFromBytes(raw.data()).get());
    }
    BN_CTX_free(ctx);
    return values;
}

FieldElement toField(const Bytes& b) {
    FieldElement f;
    EXPECT_TRUE(FieldElement::fromBytes(b.data(), f));
    return f;
}

Scalar toScalar(const Bytes& b) {
    Scalar s;
    EXPECT_TRUE(Scalar::fromBytes(b.data(), s));
    return s;
}

TEST(EcField, ArithmeticMatchesOpenSslBigNumbers) {
    TestRandom random(1);
    const auto values = testValues(prime(), random, test::randomIterations(300));
    BN_CTX* ctx = BN_CTX_new();
    std::size_t checked = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::size_t j = (i * 7 + 3) % values.size();
        const Bn a = bnFromBytes(values[i].data());
        const Bn b = bnFromBytes(values[j].data());
        const FieldElement fa = toField(values[i]);
        const FieldElement fb = toField(values[j]);
        Bn r(BN_new());
        BN_mod_add(r.get(), a.get(), b.get(), prime(), ctx);
        ASSERT_EQ(fieldBytes(fieldAdd(fa, fb)), bnToBytes(r.get())) << i;
        BN_mod_sub(r.get(), a.get(), b.get(), prime(), ctx);
        ASSERT_EQ(fieldBytes(fieldSub(fa, fb)), bnToBytes(r.get())) << i;
        BN_mod_mul(r.get(), a.get(), b.get(), prime(), ctx);
        ASSERT_EQ(fieldBytes(fieldMul(fa, fb)), bnToBytes(r.get())) << i;
        BN_mod_sqr(r.get(), a.get(), prime(), ctx);
        ASSERT_EQ(fieldBytes(fieldSqr(fa)), bnToBytes(r.get())) << i;
        BN_mod_sub(r.get(), BN_value_one(), BN_value_one(), prime(), ctx);
        BN_mod_sub(r.get(), r.get(), a.get(), prime(), ctx);
        ASSERT_EQ(fieldBytes(fieldNegate(fa)), bnToBytes(r.get())) << i;
        if (!BN_is_zero(a.get())) {
            ASSERT_NE(BN_mod_inverse(r.get(), a.get(), prime(), ctx), nullptr);
            ASSERT_EQ(fieldBytes(fieldInverse(fa)), bnToBytes(r.get())) << i;
        } else {
            ASSERT_TRUE(fieldInverse(fa).isZero());
        }
        ++checked;
    }
    BN_CTX_free(ctx);
    EXPECT_GE(checked, 30u);
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

TEST(EcField, EveryBackendMultipliesLikeOpenSsl) {
    TestRandom random(4);
    const auto values = testValues(prime(), random, test::randomIterations(3000));
    BN_CTX* ctx = BN_CTX_new();
    for (FieldBackend backend : supportedBackends()) {
        SCOPED_TRACE(fieldBackendName(backend));
        for (std::size_t i = 0; i < values.size(); ++i) {
            for (std::size_t j : {i, (i * 13 + 5) % values.size(), values.size() - 1 - i}) {
                const Bn a = bnFromBytes(values[i].data());
                const Bn b = bnFromBytes(values[j].data());
                Bn r(BN_new());
                BN_mod_mul(r.get(), a.get(), b.get(), prime(), ctx);
                const FieldElement fa = toField(values[i]);
                const FieldElement fb = toField(values[j]);
                const FieldElement product =
                    withFieldOps(backend, [&](auto ops) { return decltype(ops)::mul(fa, fb); });
                ASSERT_EQ(fieldBytes(product), bnToBytes(r.get())) << i << " " << j;
                BN_mod_sqr(r.get(), a.get(), prime(), ctx);
                const FieldElement square =
                    withFieldOps(backend, [&](auto ops) { return decltype(ops)::sqr(fa); });
                ASSERT_EQ(fieldBytes(square), bnToBytes(r.get())) << i;
            }
            // Inversion: long chains of squarings on one variable.
            const Bn a = bnFromBytes(values[i].data());
            const FieldElement inverse = withFieldOps(backend, [&](auto ops) {
                return fieldInverseWith<decltype(ops)>(toField(values[i]));
            });
            if (BN_is_zero(a.get())) {
                ASSERT_TRUE(inverse.isZero());
                continue;
            }
            Bn r(BN_new());
            ASSERT_NE(BN_mod_inverse(r.get(), a.get(), prime(), ctx), nullptr);
            ASSERT_EQ(fieldBytes(inverse), bnToBytes(r.get())) << i;
        }
    }
    BN_CTX_free(ctx);
}

TEST(EcField, IfmaLanesMultiplyAndSubtractLikeOpenSsl) {
    if (!fieldBackendSupported(FieldBackend::Ifma)) {
        GTEST_SKIP() << "this CPU lacks AVX-512 IFMA";
    }
    TestRandom random(5);
    const auto values = testValues(prime(), random, test::randomIterations(3000));
    BN_CTX* ctx = BN_CTX_new();
    // Eight lanes of neighbouring values against three partners each: every edge value
    // meets every other edge value's neighbourhood in some lane.
    for (std::size_t i = 0; i + kFieldLanes <= values.size(); ++i) {
        for (std::size_t shift : {std::size_t{0}, i * 13 + 5, values.size() - 1 - i}) {
            FieldElement a[kFieldLanes], b[kFieldLanes], product[kFieldLanes],
                difference[kFieldLanes];
            for (std::size_t lane = 0; lane < kFieldLanes; ++lane) {
                a[lane] = toField(values[i + lane]);
                b[lane] = toField(values[(i + lane + shift) % values.size()]);
            }
            fieldMulLanes(a, b, product);
            fieldSubLanes(a, b, difference);
            for (std::size_t lane = 0; lane < kFieldLanes; ++lane) {
                const Bn x = bnFromBytes(fieldBytes(a[lane]).data());
                const Bn y = bnFromBytes(fieldBytes(b[lane]).data());
                Bn r(BN_new());
                BN_mod_mul(r.get(), x.get(), y.get(), prime(), ctx);
                ASSERT_EQ(fieldBytes(product[lane]), bnToBytes(r.get())) << i << " " << lane;
                BN_mod_sub(r.get(), x.get(), y.get(), prime(), ctx);
                ASSERT_EQ(fieldBytes(difference[lane]), bnToBytes(r.get())) << i << " " << lane;
            }
        }
    }
    BN_CTX_free(ctx);
}

TEST(EcField, BackendsInUseAndByName) {
    EXPECT_TRUE(fieldBackendSupported(FieldBackend::Portable));
    EXPECT_TRUE(fieldBackendSupported(fieldBackendInUse()));
    for (FieldBackend b : kAllFieldBackends) {
        EXPECT_EQ(fieldBackendFromName(fieldBackendName(b)), b);
    }
    EXPECT_FALSE(fieldBackendFromName("fast").has_value());
    if (!fieldBackendSupported(FieldBackend::MulxAdx)) {
        GTEST_SKIP() << "this CPU lacks MULX/ADX; only the portable field code was tested";
    }
}

TEST(EcField, BytesBelowThePrimeOnly) {
    const Bn p(BN_dup(prime()));
    FieldElement f;
    EXPECT_FALSE(FieldElement::fromBytes(bnToBytes(p.get()).data(), f));
    const Bytes allOnes(32, 0xFF);
    EXPECT_FALSE(FieldElement::fromBytes(allOnes.data(), f));
    BN_sub_word(p.get(), 1);
    const Bytes pMinusOne = bnToBytes(p.get());
    ASSERT_TRUE(FieldElement::fromBytes(pMinusOne.data(), f));
    EXPECT_EQ(fieldBytes(f), pMinusOne);
    EXPECT_TRUE(fieldAdd(f, FieldElement::fromUint64(1)).isZero());
    // The checked build's invariant, on p - 1, p and values next to them in other limbs.
    constexpr std::uint64_t kOnes = ~0ULL, kPrimeLow = 0xFFFFFFFEFFFFFC2FULL;
    EXPECT_TRUE(fieldIsReduced(f));
    EXPECT_TRUE(fieldIsReduced({{kOnes, kOnes, kOnes - 1, kOnes}}));
    EXPECT_FALSE(fieldIsReduced({{kPrimeLow, kOnes, kOnes, kOnes}}));
    EXPECT_FALSE(fieldIsReduced({{kOnes, kOnes, kOnes, kOnes}}));
}

TEST(EcField, BatchInverseMatchesSingleInversions) {
    TestRandom random(2);
    for (FieldBackend backend : supportedBackends())
        for (std::size_t count : {1u, 2u, 3u, 17u, 513u, 1025u}) {
            std::vector<FieldElement> values(count);
            for (auto& v : values) {
                Bytes raw = random.bytes(32);
                raw[0] &= 0x7F; // below p
                v = toField(raw);
            }
            std::vector<FieldElement> inverses = values;
            std::vector<FieldElement> scratch(count);
            ASSERT_TRUE(batchInverse(inverses.data(), count, scratch.data(), backend));
            for (std::size_t i = 0; i < count; ++i) {
                ASSERT_EQ(inverses[i], fieldInverse(values[i])) << count << " " << i;
                ASSERT_EQ(fieldMul(inverses[i], values[i]), FieldElement::fromUint64(1));
            }
        }
}

TEST(EcField, BatchInverseRefusesZeroAndLeavesValues) {
    std::vector<FieldElement> values = {FieldElement::fromUint64(5), FieldElement::fromUint64(0),
                                        FieldElement::fromUint64(7)};
    const auto before = values;
    std::vector<FieldElement> scratch(values.size());
    EXPECT_FALSE(batchInverse(values.data(), values.size(), scratch.data()));
    EXPECT_EQ(values, before);
    for (FieldBackend backend : supportedBackends()) {
        EXPECT_FALSE(batchInverse(values.data(), values.size(), scratch.data(), backend));
        EXPECT_EQ(values, before);
    }
}

TEST(EcScalar, ArithmeticMatchesOpenSslBigNumbers) {
    TestRandom random(3);
    const auto values = testValues(order(), random, test::randomIterations(200));
    BN_CTX* ctx = BN_CTX_new();
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::size_t j = (i * 5 + 1) % values.size();
        const Bn a = bnFromBytes(values[i].data());
        const Bn b = bnFromBytes(values[j].data());
        const Scalar sa = toScalar(values[i]);
        const Scalar sb = toScalar(values[j]);
        Bn r(BN_new());
        BN_mod_add(r.get(), a.get(), b.get(), order(), ctx);
        ASSERT_EQ(scalarBytes(scalarAdd(sa, sb)), bnToBytes(r.get())) << i;
        BN_mod_mul(r.get(), a.get(), b.get(), order(), ctx);
        ASSERT_EQ(scalarBytes(scalarMul(sa, sb)), bnToBytes(r.get())) << i;
        BN_mod_sub(r.get(), BN_value_one(), BN_value_one(), order(), ctx);
        BN_mod_sub(r.get(), r.get(), a.get(), order(), ctx);
        ASSERT_EQ(scalarBytes(scalarNegate(sa)), bnToBytes(r.get())) << i;
    }
    BN_CTX_free(ctx);
}

TEST(EcScalar, BytesBelowTheOrderOnlyAndRanges) {
    Scalar s;
    EXPECT_FALSE(Scalar::fromBytes(bnToBytes(order()).data(), s));
    const Bn nMinusOne(BN_dup(order()));
    BN_sub_word(nMinusOne.get(), 1);
    ASSERT_TRUE(Scalar::fromBytes(bnToBytes(nMinusOne.get()).data(), s));
    EXPECT_TRUE(scalarIsReduced(s));
    EXPECT_FALSE(scalarIsReduced(kGroupOrder));
    EXPECT_TRUE(scalarRangeFits(s, 1));
    EXPECT_FALSE(scalarRangeFits(s, 2));
    const Bn nMinus100(BN_dup(order()));
    BN_sub_word(nMinus100.get(), 100);
    ASSERT_TRUE(Scalar::fromBytes(bnToBytes(nMinus100.get()).data(), s));
    EXPECT_TRUE(scalarRangeFits(s, 100));
    EXPECT_FALSE(scalarRangeFits(s, 101));
    EXPECT_TRUE(scalarAdd(s, Scalar::fromUint64(100)).isZero());
}

} // namespace
} // namespace tarwick::engine
