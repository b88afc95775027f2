// The batched hashes sixteen keys at a time in AVX-512 registers. Only this file is compiled
// for AVX-512 (through the target pragma below, not a global -m flag), and only after the
// run-time check in HashBackend.cpp says the CPU has it. The three-input logic instruction
// computes every boolean function of both hashes in one operation, and rotations are native.

#include "engine/hash/detail/Kernels.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <immintrin.h>
#include <utility>

#pragma GCC push_options
#pragma GCC target("avx512f,avx512bw")
// GCC 12's rotate intrinsics pass _mm512_undefined_epi32() (a self-initialised variable) as the
// unused merge source, which its own -Wuninitialized then reports once inlined here.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

// Included under the pragma on purpose: the templates instantiated here are compiled for
// AVX-512.
#include "engine/hash/detail/Hash160Lanes.h"

namespace tarwick::engine::hash_detail {

namespace {

struct Avx512Ops {
    using V = __m512i;
    static constexpr std::size_t kLanes = 16;

    static V load(const std::uint32_t* p) { return _mm512_load_si512(p); }
    static void store(std::uint32_t* p, V v) { _mm512_store_si512(p, v); }
    static V set1(std::uint32_t x) { return _mm512_set1_epi32(static_cast<int>(x)); }
    static V zero() { return _mm512_setzero_si512(); }
    static V add(V a, V b) { return _mm512_add_epi32(a, b); }
    // The immediates are truth tables over (x, y, z) = (0xf0, 0xcc, 0xaa).
    static V xor3(V x, V y, V z) { return _mm512_ternarylogic_epi32(x, y, z, 0x96); }
    static V ch(V x, V y, V z) { return _mm512_ternarylogic_epi32(x, y, z, 0xca); }
    static V maj(V x, V y, V z) { return _mm512_ternarylogic_epi32(x, y, z, 0xe8); }
    static V orNotXor(V x, V y, V z) { return _mm512_ternarylogic_epi32(x, y, z, 0x59); }
    static V xorOrNot(V x, V y, V z) { return _mm512_ternarylogic_epi32(x, y, z, 0x2d); }
    static V bswap(V x) {
        const V mask = _mm512_set4_epi32(0x0c0d0e0f, 0x08090a0b, 0x04050607, 0x00010203);
        return _mm512_shuffle_epi8(x, mask);
    }
    template <int N>
    static V rotr(V x) {
        return _mm512_ror_epi32(x, N);
    }
    template <int N>
    static V rotl(V x) {
        return _mm512_rol_epi32(x, N);
    }
    template <int N>
    static V shr(V x) {
        return _mm512_srli_epi32(x, N);
    }
};

} // namespace

void hash160KeysAvx512(const std::uint8_t* keys, std::size_t length, std::size_t count,
                       std::uint8_t* out) {
    Hash160Lanes<Avx512Ops>::hashKeysAnyCount(keys, length, count, out);
}

void hash160WordsAvx512(const std::uint32_t (*words)[16], std::size_t length, std::uint8_t* out) {
    Hash160Lanes<Avx512Ops>::hashWords(words, length, out);
}

void ripemd160DigestsAvx512(const std::uint8_t* digests, std::size_t count, std::uint8_t* out) {
    Hash160Lanes<Avx512Ops>::ripemdOfDigestsAnyCount(digests, count, out);
}

} // namespace tarwick::engine::hash_detail

#pragma GCC diagnostic pop
#pragma GCC pop_options
