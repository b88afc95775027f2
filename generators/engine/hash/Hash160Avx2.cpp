// The batched hashes eight keys at a time in AVX2 registers. Only this file is compiled for
// AVX2 (through the target pragma below, not a global -m flag), and only after the run-time
// check in HashBackend.cpp says the CPU has it.

#include "engine/hash/detail/Kernels.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <immintrin.h>
#include <utility>

#pragma GCC push_options
#pragma GCC target("avx2")

// Included under the pragma on purpose: the templates instantiated here are compiled for AVX2.
#include "engine/hash/detail/Hash160Lanes.h"

namespace tarwick::engine::hash_detail {

namespace {

struct Avx2Ops {
    using V = __m256i;
    static constexpr std::size_t kLanes = 8;

    static V load(const std::uint32_t* p) {
        return _mm256_load_si256(reinterpret_cast<const __m256i*>(p));
    }
    static void store(std::uint32_t* p, V v) {
        _mm256_store_si256(reinterpret_cast<__m256i*>(p), v);
    }
    static V set1(std::uint32_t x) { return _mm256_set1_epi32(static_cast<int>(x)); }
    static V zero() { return _mm256_setzero_si256(); }
    static V ones() { return _mm256_set1_epi32(-1); }
    static V add(V a, V b) { return _mm256_add_epi32(a, b); }
    static V xor3(V a, V b, V c) { return _mm256_xor_si256(_mm256_xor_si256(a, b), c); }
    // (x & y) | (~x & z) == ((y ^ z) & x) ^ z
    static V ch(V x, V y, V z) {
        return _mm256_xor_si256(_mm256_and_si256(_mm256_xor_si256(y, z), x), z);
    }
    static V maj(V x, V y, V z) {
        return _mm256_or_si256(_mm256_and_si256(x, y), _mm256_and_si256(z, _mm256_or_si256(x, y)));
    }
    // (x | ~y) ^ z == (~x & y) ^ z ^ ~0
    static V orNotXor(V x, V y, V z) {
        return _mm256_xor_si256(_mm256_xor_si256(_mm256_andnot_si256(x, y), z), ones());
    }
    // x ^ (y | ~z) == x ^ (~y & z) ^ ~0
    static V xorOrNot(V x, V y, V z) {
        return _mm256_xor_si256(_mm256_xor_si256(x, _mm256_andnot_si256(y, z)), ones());
    }
    static V bswap(V x) {
        const V mask = _mm256_setr_epi8(3, 2, 1, 0, 7, 6, 5, 4, 11, 10, 9, 8, 15, 14, 13, 12, 3, 2,
                                        1, 0, 7, 6, 5, 4, 11, 10, 9, 8, 15, 14, 13, 12);
        return _mm256_shuffle_epi8(x, mask);
    }
    template <int N>
    static V rotr(V x) {
        return _mm256_or_si256(_mm256_srli_epi32(x, N), _mm256_slli_epi32(x, 32 - N));
    }
    template <int N>
    static V rotl(V x) {
        return _mm256_or_si256(_mm256_slli_epi32(x, N), _mm256_srli_epi32(x, 32 - N));
    }
    template <int N>
    static V shr(V x) {
        return _mm256_srli_epi32(x, N);
    }
};

} // namespace

void hash160KeysAvx2(const std::uint8_t* keys, std::size_t length, std::size_t count,
                     std::uint8_t* out) {
    Hash160Lanes<Avx2Ops>::hashKeysAnyCount(keys, length, count, out);
}

void ripemd160DigestsAvx2(const std::uint8_t* digests, std::size_t count, std::uint8_t* out) {
    Hash160Lanes<Avx2Ops>::ripemdOfDigestsAnyCount(digests, count, out);
}

} // namespace tarwick::engine::hash_detail

#pragma GCC pop_options
