#include "engine/ec/Scalar.h"

#include "engine/ec/detail/Checks.h"

namespace tarwick::engine {

namespace {

using u128 = unsigned __int128;

// Adds b to a in place, returning the carry out of 2^256.
std::uint64_t addInPlace(std::uint64_t a[4], const std::uint64_t b[4]) {
    u128 acc = 0;
    for (int i = 0; i < 4; ++i) {
        acc += static_cast<u128>(a[i]) + b[i];
        a[i] = static_cast<std::uint64_t>(acc);
        acc >>= 64;
    }
    return static_cast<std::uint64_t>(acc);
}

// Subtracts b from a in place, returning the borrow.
std::uint64_t subInPlace(std::uint64_t a[4], const std::uint64_t b[4]) {
    std::uint64_t borrow = 0;
    for (int i = 0; i < 4; ++i) {
        const std::uint64_t d = a[i] - b[i];
        const std::uint64_t nextBorrow = (a[i] < b[i]) | (d < borrow);
        a[i] = d - borrow;
        borrow = nextBorrow;
    }
    return borrow;
}

// Reduces a value below 2n given as limbs plus a carry bit.
Scalar reduceOnce(std::uint64_t v[4], std::uint64_t carry) {
    Scalar r{{v[0], v[1], v[2], v[3]}};
    if (carry != 0 || scalarCompare(r, kGroupOrder) >= 0) {
        subInPlace(r.limb, kGroupOrder.limb);
    }
    TARWICK_ENGINE_CHECK(scalarIsReduced(r));
    return r;
}

} // namespace

bool Scalar::fromBytes(const std::uint8_t in[32], Scalar& out) {
    Scalar v{};
    for (int i = 0; i < 32; ++i) {
        v.limb[3 - i / 8] = (v.limb[3 - i / 8] << 8) | in[i];
    }
    if (scalarCompare(v, kGroupOrder) >= 0) {
        return false;
    }
    out = v;
    return true;
}

void Scalar::toBytes(std::uint8_t out[32]) const {
    for (int i = 0; i < 32; ++i) {
        out[i] = static_cast<std::uint8_t>(limb[3 - i / 8] >> (8 * (7 - i % 8)));
    }
}

int scalarCompare(const Scalar& a, const Scalar& b) {
    for (int i = 3; i >= 0; --i) {
        if (a.limb[i] != b.limb[i]) {
            return a.limb[i] < b.limb[i] ? -1 : 1;
        }
    }
    return 0;
}

Scalar scalarAdd(const Scalar& a, const Scalar& b) {
    TARWICK_ENGINE_CHECK(scalarIsReduced(a) && scalarIsReduced(b));
    std::uint64_t v[4] = {a.limb[0], a.limb[1], a.limb[2], a.limb[3]};
    const std::uint64_t carry = addInPlace(v, b.limb);
    return reduceOnce(v, carry);
}

Scalar scalarNegate(const Scalar& a) {
    TARWICK_ENGINE_CHECK(scalarIsReduced(a));
    if (a.isZero()) {
        return a;
    }
    Scalar r = kGroupOrder;
    subInPlace(r.limb, a.limb);
    TARWICK_ENGINE_CHECK(scalarIsReduced(r));
    return r;
}

Scalar scalarMul(const Scalar& a, const Scalar& b) {
    TARWICK_ENGINE_CHECK(scalarIsReduced(a) && scalarIsReduced(b));
    // Double and add from the top bit of b: 256 modular doublings and additions.
    Scalar r{};
    for (int i = 255; i >= 0; --i) {
        r = scalarAdd(r, r);
        if (b.bit(static_cast<unsigned>(i))) {
            r = scalarAdd(r, a);
        }
    }
    return r;
}

bool scalarRangeFits(const Scalar& k, std::uint64_t count) {
    TARWICK_ENGINE_CHECK(scalarIsReduced(k));
    if (count == 0) {
        return true;
    }
    std::uint64_t v[4] = {k.limb[0], k.limb[1], k.limb[2], k.limb[3]};
    const std::uint64_t add[4] = {count - 1, 0, 0, 0};
    if (addInPlace(v, add) != 0) {
        return false;
    }
    return scalarCompare(Scalar{{v[0], v[1], v[2], v[3]}}, kGroupOrder) < 0;
}

} // namespace tarwick::engine
