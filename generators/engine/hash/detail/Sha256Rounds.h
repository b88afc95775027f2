#pragma once

// The SHA-256 compression function written once over a "lane type": a plain 32-bit word for
// the portable code, or a SIMD register holding one word of 8 or 16 independent messages.
// Ops supplies the word operations (see ScalarOps.h). Everything here is a template so that a
// translation unit compiled for wider instructions gets its own copies and never shares a
// symbol with the portable build.

#include <cstddef>
#include <cstdint>
#include <utility>

namespace tarwick::engine::hash_detail {

inline constexpr std::uint32_t kSha256Init[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                                 0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

inline constexpr std::uint32_t kSha256K[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

// Everything is forced inline: only when the whole compression sits in one function body with
// its arrays local can the compiler keep the working variables in registers instead of
// reloading them through pointers every round.
template <class Ops>
struct Sha256Rounds {
    using V = typename Ops::V;

    // One 64-byte block: `w` holds its 16 big-endian words and is used as the rolling message
    // schedule (overwritten). `state` is updated in place.
    [[gnu::always_inline]] static void compress(V state[8], V w[16]) {
        V s[8];
        for (int i = 0; i < 8; ++i) {
            s[i] = state[i];
        }
        rounds(s, w, std::make_index_sequence<64>{});
        for (int i = 0; i < 8; ++i) {
            state[i] = Ops::add(state[i], s[i]);
        }
    }

private:
    template <std::size_t... I>
    [[gnu::always_inline]] static void rounds(V s[8], V w[16], std::index_sequence<I...>) {
        (round<I>(s, w), ...);
    }

    // Instead of shifting the eight working variables every round, their roles rotate over
    // the array: in round I, `a` lives in slot (-I mod 8), `b` in the next one, and so on.
    template <std::size_t I>
    [[gnu::always_inline]] static void round(V s[8], V w[16]) {
        constexpr std::size_t o = (8 * 64 - I) % 8;
        V& a = s[o];
        V& b = s[(o + 1) % 8];
        V& c = s[(o + 2) % 8];
        V& d = s[(o + 3) % 8];
        V& e = s[(o + 4) % 8];
        V& f = s[(o + 5) % 8];
        V& g = s[(o + 6) % 8];
        V& h = s[(o + 7) % 8];
        if constexpr (I >= 16) {
            // w[t mod 16] += sigma0(w[t-15]) + w[t-7] + sigma1(w[t-2])
            V& wt = w[I % 16];
            wt = Ops::add(Ops::add(wt, smallSigma0(w[(I + 1) % 16])),
                          Ops::add(w[(I + 9) % 16], smallSigma1(w[(I + 14) % 16])));
        }
        V t1 = Ops::add(Ops::add(h, bigSigma1(e)),
                        Ops::add(Ops::ch(e, f, g), Ops::add(w[I % 16], Ops::set1(kSha256K[I]))));
        V t2 = Ops::add(bigSigma0(a), Ops::maj(a, b, c));
        d = Ops::add(d, t1);
        h = Ops::add(t1, t2);
    }

    [[gnu::always_inline]] static V bigSigma0(V x) {
        return Ops::xor3(Ops::template rotr<2>(x), Ops::template rotr<13>(x),
                         Ops::template rotr<22>(x));
    }
    [[gnu::always_inline]] static V bigSigma1(V x) {
        return Ops::xor3(Ops::template rotr<6>(x), Ops::template rotr<11>(x),
                         Ops::template rotr<25>(x));
    }
    [[gnu::always_inline]] static V smallSigma0(V x) {
        return Ops::xor3(Ops::template rotr<7>(x), Ops::template rotr<18>(x),
                         Ops::template shr<3>(x));
    }
    [[gnu::always_inline]] static V smallSigma1(V x) {
        return Ops::xor3(Ops::template rotr<17>(x), Ops::template rotr<19>(x),
                         Ops::template shr<10>(x));
    }
};

} // namespace tarwick::engine::hash_detail
