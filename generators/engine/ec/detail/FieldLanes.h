#pragma once

// Field arithmetic on eight elements at once, one per 64-bit lane of an AVX-512 register, in
// five 52-bit limbs so that the IFMA instructions (vpmadd52luq/vpmadd52huq: the low or high
// 52 bits of a 52 x 52-bit product added to a lane) do the multiplications. Include this only
// from a file compiled for avx512f and avx512ifma, and call it only after the run-time check
// (fieldBackendSupported(FieldBackend::Ifma)).
//
// A "normalised" element has limbs 0..3 below 2^52 and limb 4 at most 2^48, so its value is
// below 2^256 + 2^41 but not necessarily below p: every function takes and returns normalised
// elements, and fullyReduce() gives the unique representative below p for output.

#include "engine/ec/Field.h"
#include "engine/ec/detail/Checks.h"

#include <cstddef>
#include <cstdint>
#include <immintrin.h>

namespace tarwick::engine::field_lanes {

using V = __m512i;

struct Lanes {
    V limb[5];
};

inline constexpr std::uint64_t kMask52 = (1ULL << 52) - 1;
inline constexpr std::uint64_t kMask48 = (1ULL << 48) - 1;
// 2^256 and 2^260 modulo p.
inline constexpr std::uint64_t kFold256 = 0x1000003D1ULL;
inline constexpr std::uint64_t kFold260 = 0x1000003D10ULL;

inline V set1(std::uint64_t v) {
    return _mm512_set1_epi64(static_cast<long long>(v));
}
inline V madLo(V acc, V a, V b) {
    return _mm512_madd52lo_epu64(acc, a, b);
}
inline V madHi(V acc, V a, V b) {
    return _mm512_madd52hi_epu64(acc, a, b);
}

// The invariant every function below takes and returns.
inline bool isNormalised(const Lanes& a) {
    __mmask8 over = _mm512_cmpgt_epu64_mask(a.limb[4], set1(1ULL << 48));
    for (int k = 0; k < 4; ++k) {
        over |= _mm512_cmpgt_epu64_mask(a.limb[k], set1(kMask52));
    }
    return over == 0;
}

// True when the four 64-bit words of every lane hold a value below p.
inline bool wordsReduced(const V w[4]) {
    std::uint64_t words[4][8];
    for (int k = 0; k < 4; ++k) {
        _mm512_storeu_si512(words[k], w[k]);
    }
    for (int lane = 0; lane < 8; ++lane) {
        const FieldElement e{{words[0][lane], words[1][lane], words[2][lane], words[3][lane]}};
        if (!fieldIsReduced(e)) {
            return false;
        }
    }
    return true;
}

// Moves everything above bit 52 of limb k into limb k + 1, for k < N - 1.
template <int N>
inline void carry(V* t) {
    const V mask = set1(kMask52);
    for (int k = 0; k < N - 1; ++k) {
        t[k + 1] = _mm512_add_epi64(t[k + 1], _mm512_srli_epi64(t[k], 52));
        t[k] = _mm512_and_si512(t[k], mask);
    }
}

// Limbs below 2^62 to a normalised element: carried, the bits from 256 up folded back with
// 2^256 = 0x1000003D1 (mod p), and carried again.
inline void normalize(V* l) {
    carry<5>(l);
    const V top = _mm512_srli_epi64(l[4], 48);
    const V fold = set1(kFold256);
    l[4] = _mm512_and_si512(l[4], set1(kMask48));
    l[0] = madLo(l[0], top, fold);
    l[1] = madHi(l[1], top, fold);
    carry<5>(l);
}

inline Lanes broadcast(const FieldElement& a) {
    const std::uint64_t* w = a.limb;
    return {{set1(w[0] & kMask52), set1(((w[0] >> 52) | (w[1] << 12)) & kMask52),
             set1(((w[1] >> 40) | (w[2] << 24)) & kMask52),
             set1(((w[2] >> 28) | (w[3] << 36)) & kMask52), set1(w[3] >> 16)}};
}

// The four 64-bit words of eight values below 2^256 to limbs.
inline Lanes fromWords(const V w[4]) {
    const V mask = set1(kMask52);
    Lanes r;
    r.limb[0] = _mm512_and_si512(w[0], mask);
    r.limb[1] = _mm512_and_si512(
        _mm512_or_si512(_mm512_srli_epi64(w[0], 52), _mm512_slli_epi64(w[1], 12)), mask);
    r.limb[2] = _mm512_and_si512(
        _mm512_or_si512(_mm512_srli_epi64(w[1], 40), _mm512_slli_epi64(w[2], 24)), mask);
    r.limb[3] = _mm512_and_si512(
        _mm512_or_si512(_mm512_srli_epi64(w[2], 28), _mm512_slli_epi64(w[3], 36)), mask);
    r.limb[4] = _mm512_srli_epi64(w[3], 16);
    return r;
}

// Eight elements whose limbs lie `stride` bytes apart from `first` on (the x or y of
// consecutive points) to lanes.
inline Lanes gather(const FieldElement* first, std::size_t stride) {
    const long long s = static_cast<long long>(stride / 8);
    const V index = _mm512_set_epi64(7 * s, 6 * s, 5 * s, 4 * s, 3 * s, 2 * s, s, 0);
    V w[4];
    for (int k = 0; k < 4; ++k) {
        w[k] = _mm512_i64gather_epi64(index, first->limb + k, 8);
    }
    return fromWords(w);
}

inline Lanes mul(const Lanes& a, const Lanes& b) {
    TARWICK_ENGINE_CHECK(isNormalised(a) && isNormalised(b));
    V t[10];
    for (V& v : t) {
        v = _mm512_setzero_si512();
    }
    for (int i = 0; i < 5; ++i) {
        for (int j = 0; j < 5; ++j) {
            t[i + j] = madLo(t[i + j], a.limb[i], b.limb[j]);
            t[i + j + 1] = madHi(t[i + j + 1], a.limb[i], b.limb[j]);
        }
    }
    // Columns below 2^56; after the carry every limb is below 2^52 (the product is below
    // 2^520), so the five upper limbs can be multiplied by 2^260 mod p with IFMA again.
    carry<10>(t);
    const V fold = set1(kFold260);
    V r[5];
    for (int k = 0; k < 5; ++k) {
        r[k] = madLo(t[k], t[k + 5], fold);
    }
    for (int k = 0; k < 4; ++k) {
        r[k + 1] = madHi(r[k + 1], t[k + 5], fold);
    }
    // The high half of the top limb's product sits at 2^260: below 2^37, folded once more.
    const V over = madHi(_mm512_setzero_si512(), t[9], fold);
    r[0] = madLo(r[0], over, fold);
    r[1] = madHi(r[1], over, fold);
    normalize(r);
    const Lanes product = {{r[0], r[1], r[2], r[3], r[4]}};
    TARWICK_ENGINE_CHECK(isNormalised(product));
    return product;
}

inline Lanes sqr(const Lanes& a) {
    return mul(a, a);
}

// a - b, as a + 2p - b: every limb of 2p is at least the largest limb of a normalised b.
inline Lanes sub(const Lanes& a, const Lanes& b) {
    constexpr std::uint64_t twoP[5] = {2 * ((1ULL << 52) - kFold256), 2 * kMask52, 2 * kMask52,
                                       2 * kMask52, 2 * kMask48};
    TARWICK_ENGINE_CHECK(isNormalised(a) && isNormalised(b));
    V r[5];
    for (int k = 0; k < 5; ++k) {
        r[k] = _mm512_sub_epi64(_mm512_add_epi64(a.limb[k], set1(twoP[k])), b.limb[k]);
    }
    normalize(r);
    const Lanes difference = {{r[0], r[1], r[2], r[3], r[4]}};
    TARWICK_ENGINE_CHECK(isNormalised(difference));
    return difference;
}

// The representative below p, as four 64-bit words per lane.
inline void fullyReduce(const Lanes& a, V w[4]) {
    TARWICK_ENGINE_CHECK(isNormalised(a));
    V v[5] = {a.limb[0], a.limb[1], a.limb[2], a.limb[3], a.limb[4]};
    // Below 2^256 after one more fold (a carry out of 2^256 leaves a tiny low part).
    normalize(v);
    // v >= p exactly when v + 0x1000003D1 reaches 2^256; then that sum less 2^256 is v - p.
    V u[5] = {_mm512_add_epi64(v[0], set1(kFold256)), v[1], v[2], v[3], v[4]};
    carry<5>(u);
    const __mmask8 atLeastP = _mm512_test_epi64_mask(u[4], set1(1ULL << 48));
    u[4] = _mm512_and_si512(u[4], set1(kMask48));
    for (int k = 0; k < 5; ++k) {
        v[k] = _mm512_mask_blend_epi64(atLeastP, v[k], u[k]);
    }
    w[0] = _mm512_or_si512(v[0], _mm512_slli_epi64(v[1], 52));
    w[1] = _mm512_or_si512(_mm512_srli_epi64(v[1], 12), _mm512_slli_epi64(v[2], 40));
    w[2] = _mm512_or_si512(_mm512_srli_epi64(v[2], 24), _mm512_slli_epi64(v[3], 28));
    w[3] = _mm512_or_si512(_mm512_srli_epi64(v[3], 36), _mm512_slli_epi64(v[4], 16));
    TARWICK_ENGINE_CHECK(wordsReduced(w));
}

// Writes the eight elements, fully reduced, `stride` bytes apart from `first` on, for lanes
// whose bit is set in `keep`.
inline void scatter(const Lanes& a, FieldElement* first, std::ptrdiff_t stride, __mmask8 keep) {
    const long long s = static_cast<long long>(stride / 8);
    const V index = _mm512_set_epi64(7 * s, 6 * s, 5 * s, 4 * s, 3 * s, 2 * s, s, 0);
    V w[4];
    fullyReduce(a, w);
    for (int k = 0; k < 4; ++k) {
        _mm512_mask_i64scatter_epi64(first->limb + k, keep, index, w[k], 8);
    }
}

inline void store(const Lanes& a, std::uint64_t* out) {
    for (int k = 0; k < 5; ++k) {
        _mm512_storeu_si512(out + 8 * k, a.limb[k]);
    }
}

inline Lanes load(const std::uint64_t* in) {
    Lanes r;
    for (int k = 0; k < 5; ++k) {
        r.limb[k] = _mm512_loadu_si512(in + 8 * k);
    }
    return r;
}

} // namespace tarwick::engine::field_lanes
