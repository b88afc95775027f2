#pragma once

#include <cstdint>

namespace tarwick::engine {

// An integer modulo the group order n of secp256k1, fully reduced, in four little-endian
// 64-bit limbs. Private keys are scalars in [1, n-1]. Only the rare paths use scalars (a
// walker's start, the key of a match), so clarity wins over speed here.
struct Scalar {
    std::uint64_t limb[4];

    static constexpr Scalar fromUint64(std::uint64_t value) { return {{value, 0, 0, 0}}; }
    // Big-endian 32 bytes; false (and `out` untouched) when the value is not below n.
    static bool fromBytes(const std::uint8_t in[32], Scalar& out);
    void toBytes(std::uint8_t out[32]) const;

    bool isZero() const { return (limb[0] | limb[1] | limb[2] | limb[3]) == 0; }
    bool bit(unsigned index) const { return ((limb[index / 64] >> (index % 64)) & 1) != 0; }
    friend bool operator==(const Scalar&, const Scalar&) = default;
};

// The group order n.
inline constexpr Scalar kGroupOrder = {
    {0xBFD25E8CD0364141ULL, 0xBAAEDCE6AF48A03BULL, 0xFFFFFFFFFFFFFFFEULL, 0xFFFFFFFFFFFFFFFFULL}};

// Compares two values below 2^256 as integers: negative, zero or positive.
int scalarCompare(const Scalar& a, const Scalar& b);

// True when the limbs hold a value below n, as every scalar must.
inline bool scalarIsReduced(const Scalar& s) {
    return scalarCompare(s, kGroupOrder) < 0;
}

Scalar scalarAdd(const Scalar& a, const Scalar& b);
Scalar scalarNegate(const Scalar& a);
Scalar scalarMul(const Scalar& a, const Scalar& b);

// True when k + count - 1 stays below n, so the keys k, k+1, ..., k+count-1 are all
// plain integers without a wrap past n (k itself must be below n).
bool scalarRangeFits(const Scalar& k, std::uint64_t count);

} // namespace tarwick::engine
