#pragma once

// Word operations for the portable instantiation of the hash round templates: one message per
// "lane". Include only from translation units compiled for the baseline instruction set, so
// that these inline functions never pick up wider instructions from a target pragma.

#include <bit>
#include <cstddef>
#include <cstdint>

namespace tarwick::engine::hash_detail {

struct ScalarOps {
    using V = std::uint32_t;
    static constexpr std::size_t kLanes = 1;

    static V load(const std::uint32_t* p) { return *p; }
    static void store(std::uint32_t* p, V v) { *p = v; }
    static V set1(std::uint32_t x) { return x; }
    static V zero() { return 0; }
    static V add(V a, V b) { return a + b; }
    static V xor3(V a, V b, V c) { return a ^ b ^ c; }
    static V ch(V x, V y, V z) { return (x & y) | (~x & z); }
    static V maj(V x, V y, V z) { return (x & y) | (z & (x | y)); }
    static V orNotXor(V x, V y, V z) { return (x | ~y) ^ z; }
    static V xorOrNot(V x, V y, V z) { return x ^ (y | ~z); }
    static V bswap(V x) { return __builtin_bswap32(x); }
    template <int N>
    static V rotr(V x) {
        return std::rotr(x, N);
    }
    template <int N>
    static V rotl(V x) {
        return std::rotl(x, N);
    }
    template <int N>
    static V shr(V x) {
        return x >> N;
    }
};

} // namespace tarwick::engine::hash_detail
