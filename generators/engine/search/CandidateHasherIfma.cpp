// The candidates of eight points from the IFMA field lanes into the AVX-512 hash lanes. Only
// the *Ifma.cpp files are compiled for AVX-512 IFMA (through the target pragma, not a global -m
// flag), and they run only after the run-time checks of both backends.

#include "engine/ec/Candidates.h"
#include "engine/hash/detail/Kernels.h"
#include "engine/search/detail/CandidateLanes.h"

#include <cstring>

#pragma GCC push_options
#pragma GCC target("avx512f,avx512ifma")
// GCC 12's shift and logic intrinsics pass _mm512_undefined_epi32() (a self-initialised
// variable) as the unused merge source, which its own -Wuninitialized then reports once inlined.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

#include "engine/ec/detail/FieldLanes.h"

namespace tarwick::engine::candidate_lanes {

namespace {

using field_lanes::V;
constexpr std::size_t kHashSize = 20;
constexpr std::size_t kHashLanes = 16;

// a >> shift in the low 32 bits of each lane, a given as four 64-bit words.
V bitsFrom(const V a[4], int shift) {
    const int word = shift / 64;
    const int offset = shift % 64;
    // Shifts by a count in a register: the immediate forms need constants in unoptimised builds.
    V r = _mm512_srl_epi64(a[word], _mm_cvtsi32_si128(offset));
    if (offset > 32 && word < 3) {
        r = _mm512_or_si512(r, _mm512_sll_epi64(a[word + 1], _mm_cvtsi32_si128(64 - offset)));
    }
    return r;
}

// Word t (0 to 7) of a key whose bytes 1 to 32 are a, big-endian, without the key's first
// byte; word 8 holds only a's last byte, at the top.
V keyWord(const V a[4], int t) {
    return t == 8 ? _mm512_slli_epi64(a[0], 24) : bitsFrom(a, 232 - 32 * t);
}

// One row of the hash lanes: the low 32 bits of the eight lanes of each half.
__m512i row(V firstHalf, V secondHalf) {
    return _mm512_inserti64x4(_mm512_castsi256_si512(_mm512_cvtepi64_epi32(firstHalf)),
                              _mm512_cvtepi64_epi32(secondHalf), 1);
}

V orTop(V word, V topByte) {
    return _mm512_or_si512(word, _mm512_slli_epi64(topByte, 24));
}

// 02/03 || x with the point's own y parity in the first eight lanes, the other one (its
// negation's) in the last eight.
void compressedRows(const V x[4], V parity, std::uint32_t (*rows)[kHashLanes]) {
    const V own = _mm512_or_si512(parity, field_lanes::set1(2));
    const V flipped = _mm512_xor_si512(own, field_lanes::set1(1));
    const V padding = field_lanes::set1(0x00800000);
    for (int t = 0; t < 9; ++t) {
        const V w = t == 8 ? _mm512_or_si512(keyWord(x, 8), padding) : keyWord(x, t);
        const __m512i r = t == 0 ? row(orTop(w, own), orTop(w, flipped)) : row(w, w);
        _mm512_store_si512(rows[t], r);
    }
}

// 04 || x || y in the first eight lanes, 04 || x || -y in the last eight.
void uncompressedRows(const V x[4], const V y[4], const V negY[4],
                      std::uint32_t (*rows)[kHashLanes]) {
    const V padding = field_lanes::set1(0x00800000);
    for (int t = 0; t < 8; ++t) {
        V w = keyWord(x, t);
        if (t == 0) {
            w = orTop(w, field_lanes::set1(0x04));
        }
        _mm512_store_si512(rows[t], row(w, w));
    }
    const V xLast = keyWord(x, 8);
    _mm512_store_si512(rows[8], row(_mm512_or_si512(xLast, keyWord(y, 0)),
                                    _mm512_or_si512(xLast, keyWord(negY, 0))));
    for (int t = 1; t < 8; ++t) {
        _mm512_store_si512(rows[8 + t], row(keyWord(y, t), keyWord(negY, t)));
    }
    _mm512_store_si512(rows[16], row(_mm512_or_si512(keyWord(y, 8), padding),
                                     _mm512_or_si512(keyWord(negY, 8), padding)));
}

void gatherWords(const FieldElement* first, V w[4]) {
    const long long s = sizeof(AffinePoint) / 8;
    const V index = _mm512_set_epi64(7 * s, 6 * s, 5 * s, 4 * s, 3 * s, 2 * s, s, 0);
    for (int k = 0; k < 4; ++k) {
        w[k] = _mm512_i64gather_epi64(index, first->limb + k, 8);
    }
}

} // namespace

void hashPoints(const AffinePoint* points, bool compressed, std::uint8_t* out) {
    using namespace field_lanes;
    // x, beta x and beta^2 x, each as four 64-bit words below p.
    V xs[3][4];
    gatherWords(&points->x, xs[0]);
    const Lanes x = fromWords(xs[0]);
    fullyReduce(mul(x, broadcast(endomorphismBeta())), xs[1]);
    fullyReduce(mul(x, broadcast(endomorphismBeta2())), xs[2]);
    V y[4];
    gatherWords(&points->y, y);
    V negY[4];
    if (!compressed) {
        fullyReduce(sub(broadcast(FieldElement{}), fromWords(y)), negY);
    }
    const V parity = _mm512_and_si512(y[0], set1(1));

    alignas(64) std::uint32_t rows[17][kHashLanes];
    alignas(64) std::uint8_t hashes[kHashLanes * kHashSize];
    const std::size_t length = compressed ? kCompressedKeySize : kUncompressedKeySize;
    for (std::size_t i = 0; i < 3; ++i) {
        if (compressed) {
            compressedRows(xs[i], parity, rows);
        } else {
            uncompressedRows(xs[i], y, negY, rows);
        }
        hash_detail::hash160WordsAvx512(rows, length, hashes);
        // Lane p is candidate 2i of point p, lane 8 + p candidate 2i + 1 (the negation).
        for (std::size_t lane = 0; lane < kHashLanes; ++lane) {
            const std::size_t point = lane % kPoints;
            const std::size_t candidate = 2 * i + lane / kPoints;
            std::memcpy(out + (point * kCandidatesPerPoint + candidate) * kHashSize,
                        hashes + lane * kHashSize, kHashSize);
        }
    }
}

} // namespace tarwick::engine::candidate_lanes

#pragma GCC diagnostic pop
#pragma GCC pop_options
