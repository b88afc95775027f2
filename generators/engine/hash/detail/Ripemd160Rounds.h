#pragma once

// The RIPEMD-160 compression function written once over a lane type (see Sha256Rounds.h for
// the idea and ScalarOps.h for the operations Ops supplies).

#include <cstddef>
#include <cstdint>
#include <utility>

namespace tarwick::engine::hash_detail {

inline constexpr std::uint32_t kRipemd160Init[5] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476,
                                                    0xc3d2e1f0};

// Message word used by each of the 80 steps, left and right line.
inline constexpr std::uint8_t kRipemdWordLeft[80] = {
    0,  1, 2,  3, 4,  5,  6, 7,  8, 9,  10, 11, 12, 13, 14, 15, 7,  4,  13, 1,
    10, 6, 15, 3, 12, 0,  9, 5,  2, 14, 11, 8,  3,  10, 14, 4,  9,  15, 8,  1,
    2,  7, 0,  6, 13, 11, 5, 12, 1, 9,  11, 10, 0,  8,  12, 4,  13, 3,  7,  15,
    14, 5, 6,  2, 4,  0,  5, 9,  7, 12, 2,  10, 14, 1,  3,  8,  11, 6,  15, 13};
inline constexpr std::uint8_t kRipemdWordRight[80] = {
    5,  14, 7,  0,  9,  2,  11, 4,  13, 6, 15, 8, 1,  10, 3,  12, 6, 11, 3, 7,
    0,  13, 5,  10, 14, 15, 8,  12, 4,  9, 1,  2, 15, 5,  1,  3,  7, 14, 6, 9,
    11, 8,  12, 2,  10, 0,  4,  13, 8,  6, 4,  1, 3,  11, 15, 0,  5, 12, 2, 13,
    9,  7,  10, 14, 12, 15, 10, 4,  1,  5, 8,  7, 6,  2,  13, 14, 0, 3,  9, 11};

// Left rotation of each step, left and right line.
inline constexpr std::uint8_t kRipemdShiftLeft[80] = {
    11, 14, 15, 12, 5, 8,  7,  9,  11, 13, 14, 15, 6,  7,  9,  8,  7,  6,  8,  13,
    11, 9,  7,  15, 7, 12, 15, 9,  11, 7,  13, 12, 11, 13, 6,  7,  14, 9,  13, 15,
    14, 8,  13, 6,  5, 12, 7,  5,  11, 12, 14, 15, 14, 15, 9,  8,  9,  14, 5,  6,
    8,  6,  5,  12, 9, 15, 5,  11, 6,  8,  13, 12, 5,  12, 13, 14, 11, 8,  5,  6};
inline constexpr std::uint8_t kRipemdShiftRight[80] = {
    8,  9,  9,  11, 13, 15, 15, 5, 7,  7,  8,  11, 14, 14, 12, 6,  9,  13, 15, 7,
    12, 8,  9,  11, 7,  7,  12, 7, 6,  15, 13, 11, 9,  7,  15, 11, 8,  6,  6,  14,
    12, 13, 5,  14, 13, 13, 7,  5, 15, 5,  8,  11, 14, 14, 6,  14, 6,  9,  12, 9,
    12, 5,  15, 8,  8,  5,  12, 9, 12, 5,  14, 6,  8,  13, 6,  5,  15, 13, 11, 11};

// Additive constant of each group of 16 steps.
inline constexpr std::uint32_t kRipemdConstLeft[5] = {0x00000000, 0x5a827999, 0x6ed9eba1,
                                                      0x8f1bbcdc, 0xa953fd4e};
inline constexpr std::uint32_t kRipemdConstRight[5] = {0x50a28be6, 0x5c4dd124, 0x6d703ef3,
                                                       0x7a6d76e9, 0x00000000};

template <class Ops>
struct Ripemd160Rounds {
    using V = typename Ops::V;

    // One 64-byte block given as its 16 little-endian words; `state` is updated in place.
    [[gnu::always_inline]] static void compress(V state[5], const V x[16]) {
        V left[5];
        V right[5];
        for (int i = 0; i < 5; ++i) {
            left[i] = state[i];
            right[i] = state[i];
        }
        steps(left, right, x, std::make_index_sequence<80>{});
        // After 80 steps the roles are back in their first slots (80 is a multiple of 5).
        V t = Ops::add(state[1], Ops::add(left[2], right[3]));
        state[1] = Ops::add(state[2], Ops::add(left[3], right[4]));
        state[2] = Ops::add(state[3], Ops::add(left[4], right[0]));
        state[3] = Ops::add(state[4], Ops::add(left[0], right[1]));
        state[4] = Ops::add(state[0], Ops::add(left[1], right[2]));
        state[0] = t;
    }

private:
    // The two lines are independent until the end; interleaving them gives the CPU two chains
    // to overlap.
    template <std::size_t... I>
    [[gnu::always_inline]] static void steps(V left[5], V right[5], const V x[16],
                                             std::index_sequence<I...>) {
        ((step<I, true>(left, x), step<I, false>(right, x)), ...);
    }

    // Roles rotate over the array as in Sha256Rounds: in step I, A lives in slot (-I mod 5).
    template <std::size_t I, bool Left>
    [[gnu::always_inline]] static void step(V s[5], const V x[16]) {
        constexpr std::size_t o = (5 * 80 - I) % 5;
        constexpr std::size_t group = I / 16;
        constexpr std::size_t function = Left ? group : 4 - group;
        constexpr std::uint32_t k = Left ? kRipemdConstLeft[group] : kRipemdConstRight[group];
        constexpr int shift = Left ? kRipemdShiftLeft[I] : kRipemdShiftRight[I];
        V& a = s[o];
        V& b = s[(o + 1) % 5];
        V& c = s[(o + 2) % 5];
        V& d = s[(o + 3) % 5];
        V& e = s[(o + 4) % 5];
        V sum = Ops::add(Ops::add(a, f<function>(b, c, d)),
                         x[Left ? kRipemdWordLeft[I] : kRipemdWordRight[I]]);
        if constexpr (k != 0) {
            sum = Ops::add(sum, Ops::set1(k));
        }
        a = Ops::add(Ops::template rotl<shift>(sum), e);
        c = Ops::template rotl<10>(c);
    }

    template <std::size_t Function>
    [[gnu::always_inline]] static V f(V x, V y, V z) {
        if constexpr (Function == 0) {
            return Ops::xor3(x, y, z);
        } else if constexpr (Function == 1) {
            return Ops::ch(x, y, z);
        } else if constexpr (Function == 2) {
            return Ops::orNotXor(x, y, z);
        } else if constexpr (Function == 3) {
            return Ops::ch(z, x, y);
        } else {
            return Ops::xorOrNot(x, y, z);
        }
    }
};

} // namespace tarwick::engine::hash_detail
