#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tarwick::engine {

// An element of the secp256k1 base field: the integers modulo
// p = 2^256 - 2^32 - 977, always held fully reduced (0 <= value < p) in four
// little-endian 64-bit limbs, so that equal values have equal limbs.
struct FieldElement {
    std::uint64_t limb[4];

    static constexpr FieldElement fromUint64(std::uint64_t value) { return {{value, 0, 0, 0}}; }
    // Big-endian 32 bytes; false (and `out` untouched) when the value is not below p.
    static bool fromBytes(const std::uint8_t in[32], FieldElement& out);
    void toBytes(std::uint8_t out[32]) const {
        for (int i = 0; i < 4; ++i) {
            const std::uint64_t word = __builtin_bswap64(limb[3 - i]);
            std::memcpy(out + 8 * i, &word, sizeof word);
        }
    }

    bool isZero() const { return (limb[0] | limb[1] | limb[2] | limb[3]) == 0; }
    bool isOdd() const { return (limb[0] & 1) != 0; }
    friend bool operator==(const FieldElement&, const FieldElement&) = default;
};

// True when the limbs hold a value below p, as every element must.
inline bool fieldIsReduced(const FieldElement& a) {
    constexpr std::uint64_t kPrimeLow = 0xFFFFFFFEFFFFFC2FULL;
    return (a.limb[1] & a.limb[2] & a.limb[3]) != ~0ULL || a.limb[0] < kPrimeLow;
}

// a + b, a - b, -a, a * b and a^2 modulo p, inline for the hot loop (engine/ec/detail/
// FieldArithmetic.h), without branches on the values; fully reduced in and out.
inline FieldElement fieldAdd(const FieldElement& a, const FieldElement& b);
inline FieldElement fieldSub(const FieldElement& a, const FieldElement& b);
inline FieldElement fieldNegate(const FieldElement& a);
inline FieldElement fieldMul(const FieldElement& a, const FieldElement& b);
inline FieldElement fieldSqr(const FieldElement& a);

// a^-1 mod p by Fermat's little theorem (a^(p-2)); the inverse of zero is zero.
FieldElement fieldInverse(const FieldElement& a);

// Montgomery's trick: replaces values[0..count) by their inverses at the cost of one
// inversion and three multiplications per value. `scratch` holds `count` elements.
// Returns false, leaving `values` unchanged, when any value is zero.
bool batchInverse(FieldElement* values, std::size_t count, FieldElement* scratch);

} // namespace tarwick::engine

#include "engine/ec/detail/FieldArithmetic.h"
