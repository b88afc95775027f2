#pragma once

// The inline field arithmetic behind the contracts of engine/ec/Field.h: 64-bit limbs with the
// carry instructions of x86-64 (ADC/SBB through their intrinsics), or 128-bit arithmetic
// elsewhere, and the fold 2^256 = 0x1000003D1 (mod p). Every function takes and returns
// fully reduced elements, which the checked build verifies.

#include "engine/ec/Field.h"
#include "engine/ec/detail/Checks.h"

#if defined(__x86_64__)
#include <x86intrin.h>
#endif

namespace tarwick::engine {

namespace field_detail {

using u128 = unsigned __int128;

// 2^256 mod p.
inline constexpr std::uint64_t kFold = 0x1000003D1ULL;

// One limb of an addition or subtraction with carry: ADC and SBB on x86-64.
inline unsigned char addCarry(unsigned char carry, std::uint64_t a, std::uint64_t b,
                              std::uint64_t& out) {
#if defined(__x86_64__)
    unsigned long long r;
    carry = _addcarry_u64(carry, a, b, &r);
    out = r;
    return carry;
#else
    const u128 s = static_cast<u128>(a) + b + carry;
    out = static_cast<std::uint64_t>(s);
    return static_cast<unsigned char>(s >> 64);
#endif
}

inline unsigned char subBorrow(unsigned char borrow, std::uint64_t a, std::uint64_t b,
                               std::uint64_t& out) {
#if defined(__x86_64__)
    unsigned long long r;
    borrow = _subborrow_u64(borrow, a, b, &r);
    out = r;
    return borrow;
#else
    const std::uint64_t d = a - b;
    const unsigned char next = (a < b) | (d < borrow);
    out = d - borrow;
    return next;
#endif
}

// Brings a value below 2^256 + 2^256 (given as limbs r and a carry bit) to [0, p).
inline void reduceOnce(std::uint64_t r[4], std::uint64_t carry) {
    // value >= p exactly when carry is set or r + kFold overflows 2^256.
    std::uint64_t s[4];
    unsigned char c = addCarry(0, r[0], kFold, s[0]);
    c = addCarry(c, r[1], 0, s[1]);
    c = addCarry(c, r[2], 0, s[2]);
    c = addCarry(c, r[3], 0, s[3]);
    const std::uint64_t mask = 0 - (static_cast<std::uint64_t>(c) | carry);
    for (int i = 0; i < 4; ++i) {
        r[i] = (s[i] & mask) | (r[i] & ~mask);
    }
}

// Reduces the 512-bit product t to [0, p).
inline void reduceWide(const std::uint64_t t[8], std::uint64_t out[4]) {
    // t = lo + hi * 2^256 = lo + hi * kFold (mod p).
    std::uint64_t r[5];
    u128 acc = static_cast<u128>(t[4]) * kFold + t[0];
    r[0] = static_cast<std::uint64_t>(acc);
    acc = (acc >> 64) + static_cast<u128>(t[5]) * kFold + t[1];
    r[1] = static_cast<std::uint64_t>(acc);
    acc = (acc >> 64) + static_cast<u128>(t[6]) * kFold + t[2];
    r[2] = static_cast<std::uint64_t>(acc);
    acc = (acc >> 64) + static_cast<u128>(t[7]) * kFold + t[3];
    r[3] = static_cast<std::uint64_t>(acc);
    r[4] = static_cast<std::uint64_t>(acc >> 64); // below 2^34
    // Fold the fifth limb the same way.
    acc = static_cast<u128>(r[4]) * kFold + r[0];
    out[0] = static_cast<std::uint64_t>(acc);
    acc = (acc >> 64) + r[1];
    out[1] = static_cast<std::uint64_t>(acc);
    acc = (acc >> 64) + r[2];
    out[2] = static_cast<std::uint64_t>(acc);
    acc = (acc >> 64) + r[3];
    out[3] = static_cast<std::uint64_t>(acc);
    std::uint64_t carry = static_cast<std::uint64_t>(acc >> 64);
    // A carry leaves a small low part (below 2^98): adding kFold once more cannot overflow.
    acc = static_cast<u128>(out[0]) + (kFold & (0 - carry));
    out[0] = static_cast<std::uint64_t>(acc);
    acc = (acc >> 64) + out[1];
    out[1] = static_cast<std::uint64_t>(acc);
    acc = (acc >> 64) + out[2];
    out[2] = static_cast<std::uint64_t>(acc);
    acc = (acc >> 64) + out[3];
    out[3] = static_cast<std::uint64_t>(acc);
    reduceOnce(out, 0);
}

} // namespace field_detail

inline FieldElement fieldAdd(const FieldElement& a, const FieldElement& b) {
    using field_detail::addCarry;
    TARWICK_ENGINE_CHECK(fieldIsReduced(a) && fieldIsReduced(b));
    FieldElement r;
    unsigned char c = addCarry(0, a.limb[0], b.limb[0], r.limb[0]);
    c = addCarry(c, a.limb[1], b.limb[1], r.limb[1]);
    c = addCarry(c, a.limb[2], b.limb[2], r.limb[2]);
    c = addCarry(c, a.limb[3], b.limb[3], r.limb[3]);
    field_detail::reduceOnce(r.limb, c);
    TARWICK_ENGINE_CHECK(fieldIsReduced(r));
    return r;
}

inline FieldElement fieldSub(const FieldElement& a, const FieldElement& b) {
    using field_detail::subBorrow;
    TARWICK_ENGINE_CHECK(fieldIsReduced(a) && fieldIsReduced(b));
    FieldElement r;
    unsigned char borrow = subBorrow(0, a.limb[0], b.limb[0], r.limb[0]);
    borrow = subBorrow(borrow, a.limb[1], b.limb[1], r.limb[1]);
    borrow = subBorrow(borrow, a.limb[2], b.limb[2], r.limb[2]);
    borrow = subBorrow(borrow, a.limb[3], b.limb[3], r.limb[3]);
    // On a borrow the limbs hold a - b + 2^256; a - b + p is that minus kFold, and it
    // stays above kFold, so the subtraction below never borrows past the top limb.
    const std::uint64_t fold = field_detail::kFold & (0 - static_cast<std::uint64_t>(borrow));
    borrow = subBorrow(0, r.limb[0], fold, r.limb[0]);
    borrow = subBorrow(borrow, r.limb[1], 0, r.limb[1]);
    borrow = subBorrow(borrow, r.limb[2], 0, r.limb[2]);
    subBorrow(borrow, r.limb[3], 0, r.limb[3]);
    TARWICK_ENGINE_CHECK(fieldIsReduced(r));
    return r;
}

inline FieldElement fieldNegate(const FieldElement& a) {
    return fieldSub(FieldElement::fromUint64(0), a);
}

inline FieldElement fieldMul(const FieldElement& a, const FieldElement& b) {
    using field_detail::u128;
    TARWICK_ENGINE_CHECK(fieldIsReduced(a) && fieldIsReduced(b));
    std::uint64_t t[8] = {};
    for (int i = 0; i < 4; ++i) {
        std::uint64_t carry = 0;
        for (int j = 0; j < 4; ++j) {
            const u128 p = static_cast<u128>(a.limb[i]) * b.limb[j] + t[i + j] + carry;
            t[i + j] = static_cast<std::uint64_t>(p);
            carry = static_cast<std::uint64_t>(p >> 64);
        }
        t[i + 4] = carry;
    }
    FieldElement r;
    field_detail::reduceWide(t, r.limb);
    TARWICK_ENGINE_CHECK(fieldIsReduced(r));
    return r;
}

inline FieldElement fieldSqr(const FieldElement& a) {
    using field_detail::u128;
    TARWICK_ENGINE_CHECK(fieldIsReduced(a));
    // Off-diagonal products once, doubled, plus the squares on the diagonal.
    std::uint64_t t[8] = {};
    for (int i = 0; i < 3; ++i) {
        std::uint64_t carry = 0;
        for (int j = i + 1; j < 4; ++j) {
            const u128 p = static_cast<u128>(a.limb[i]) * a.limb[j] + t[i + j] + carry;
            t[i + j] = static_cast<std::uint64_t>(p);
            carry = static_cast<std::uint64_t>(p >> 64);
        }
        t[i + 4] = carry;
    }
    std::uint64_t top = 0;
    for (int i = 0; i < 8; ++i) {
        const std::uint64_t next = t[i] >> 63;
        t[i] = (t[i] << 1) | top;
        top = next;
    }
    u128 acc = 0;
    for (int i = 0; i < 4; ++i) {
        const u128 sq = static_cast<u128>(a.limb[i]) * a.limb[i];
        acc += static_cast<u128>(t[2 * i]) + static_cast<std::uint64_t>(sq);
        t[2 * i] = static_cast<std::uint64_t>(acc);
        acc = (acc >> 64) + t[2 * i + 1] + static_cast<std::uint64_t>(sq >> 64);
        t[2 * i + 1] = static_cast<std::uint64_t>(acc);
        acc >>= 64;
    }
    FieldElement r;
    field_detail::reduceWide(t, r.limb);
    TARWICK_ENGINE_CHECK(fieldIsReduced(r));
    return r;
}

} // namespace tarwick::engine
