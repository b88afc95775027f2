#pragma once

// hash160 of public keys, several at a time: SHA-256 of each key (one block for 33 bytes, two
// for 65), then RIPEMD-160 of the 32-byte digest, written once over a lane type (see
// Sha256Rounds.h). The SHA-256 state goes into RIPEMD-160 without leaving the registers: the
// digest is the state's words in big-endian order, RIPEMD-160 reads little-endian words, so
// each word only needs its bytes swapped.

#include "engine/hash/detail/Ripemd160Rounds.h"
#include "engine/hash/detail/Sha256Rounds.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tarwick::engine::hash_detail {

template <class Ops>
struct Hash160Lanes {
    using V = typename Ops::V;
    static constexpr std::size_t kLanes = Ops::kLanes;

    // hash160 of kLanes keys of `length` bytes (33 or 65) stored back to back; writes
    // kLanes * 20 bytes.
    // One out-of-line copy, with both hashes inlined into it (see Sha256Rounds.h).
    [[gnu::noinline]] static void hashKeys(const std::uint8_t* keys, std::size_t length,
                                           std::uint8_t* out) {
        // Word t of every key, one row per word: the registers load a row at a time.
        alignas(64) std::uint32_t words[17][kLanes];
        const std::size_t fullWords = length / 4;
        for (std::size_t lane = 0; lane < kLanes; ++lane) {
            const std::uint8_t* key = keys + lane * length;
            for (std::size_t t = 0; t < fullWords; ++t) {
                words[t][lane] = loadBigEndian(key + 4 * t);
            }
            // The key's odd last byte, then the padding's 0x80.
            words[fullWords][lane] = (std::uint32_t{key[length - 1]} << 24) | 0x00800000u;
        }
        hashWords(words, length, out);
    }

    // The same for keys already in rows: words[t][lane] is big-endian word t of the lane's key
    // with the padding's 0x80 after its last byte (9 rows for 33-byte keys, 17 for 65).
    [[gnu::always_inline]] static void hashWords(const std::uint32_t (*words)[kLanes],
                                                 std::size_t length, std::uint8_t* out) {
        V state[8];
        for (int i = 0; i < 8; ++i) {
            state[i] = Ops::set1(kSha256Init[i]);
        }
        V w[16];
        if (length == 33) {
            for (int t = 0; t < 9; ++t) {
                w[t] = Ops::load(words[t]);
            }
            for (int t = 9; t < 15; ++t) {
                w[t] = Ops::zero();
            }
            w[15] = Ops::set1(33 * 8);
            Sha256Rounds<Ops>::compress(state, w);
        } else {
            for (int t = 0; t < 16; ++t) {
                w[t] = Ops::load(words[t]);
            }
            Sha256Rounds<Ops>::compress(state, w);
            w[0] = Ops::load(words[16]);
            for (int t = 1; t < 15; ++t) {
                w[t] = Ops::zero();
            }
            w[15] = Ops::set1(65 * 8);
            Sha256Rounds<Ops>::compress(state, w);
        }

        V x[16];
        for (int t = 0; t < 8; ++t) {
            x[t] = Ops::bswap(state[t]);
        }
        ripemdOfDigest(x, out);
    }

    // RIPEMD-160 of kLanes 32-byte values stored back to back (digests that another SHA-256
    // implementation produced); writes kLanes * 20 bytes.
    [[gnu::noinline]] static void ripemdOfDigests(const std::uint8_t* digests, std::uint8_t* out) {
        alignas(64) std::uint32_t words[8][kLanes];
        for (std::size_t lane = 0; lane < kLanes; ++lane) {
            for (std::size_t t = 0; t < 8; ++t) {
                words[t][lane] = loadLittleEndian(digests + lane * 32 + 4 * t);
            }
        }
        V x[16];
        for (int t = 0; t < 8; ++t) {
            x[t] = Ops::load(words[t]);
        }
        ripemdOfDigest(x, out);
    }

    // Any number of keys: whole groups of kLanes directly, the rest through a zero-filled
    // buffer of one group.
    static void hashKeysAnyCount(const std::uint8_t* keys, std::size_t length, std::size_t count,
                                 std::uint8_t* out) {
        std::size_t done = 0;
        for (; done + kLanes <= count; done += kLanes) {
            hashKeys(keys + done * length, length, out + done * 20);
        }
        if (done < count) {
            std::uint8_t padded[kLanes * 65] = {};
            std::uint8_t result[kLanes * 20];
            std::memcpy(padded, keys + done * length, (count - done) * length);
            hashKeys(padded, length, result);
            std::memcpy(out + done * 20, result, (count - done) * 20);
        }
    }

    static void ripemdOfDigestsAnyCount(const std::uint8_t* digests, std::size_t count,
                                        std::uint8_t* out) {
        std::size_t done = 0;
        for (; done + kLanes <= count; done += kLanes) {
            ripemdOfDigests(digests + done * 32, out + done * 20);
        }
        if (done < count) {
            std::uint8_t padded[kLanes * 32] = {};
            std::uint8_t result[kLanes * 20];
            std::memcpy(padded, digests + done * 32, (count - done) * 32);
            ripemdOfDigests(padded, result);
            std::memcpy(out + done * 20, result, (count - done) * 20);
        }
    }

private:
    // x[0..7] holds the 32-byte message; the rest is its padding, the same for every lane.
    [[gnu::always_inline]] static void ripemdOfDigest(V x[16], std::uint8_t* out) {
        x[8] = Ops::set1(0x80);
        for (int t = 9; t < 14; ++t) {
            x[t] = Ops::zero();
        }
        x[14] = Ops::set1(32 * 8);
        x[15] = Ops::zero();
        V h[5];
        for (int i = 0; i < 5; ++i) {
            h[i] = Ops::set1(kRipemd160Init[i]);
        }
        Ripemd160Rounds<Ops>::compress(h, x);

        alignas(64) std::uint32_t result[5][kLanes];
        for (int i = 0; i < 5; ++i) {
            Ops::store(result[i], h[i]);
        }
        for (std::size_t lane = 0; lane < kLanes; ++lane) {
            for (std::size_t i = 0; i < 5; ++i) {
                storeLittleEndian(out + lane * 20 + 4 * i, result[i][lane]);
            }
        }
    }

    static std::uint32_t loadBigEndian(const std::uint8_t* p) {
        return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) |
               (std::uint32_t{p[2]} << 8) | std::uint32_t{p[3]};
    }
    static std::uint32_t loadLittleEndian(const std::uint8_t* p) {
        return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
               (std::uint32_t{p[3]} << 24);
    }
    static void storeLittleEndian(std::uint8_t* p, std::uint32_t v) {
        p[0] = static_cast<std::uint8_t>(v);
        p[1] = static_cast<std::uint8_t>(v >> 8);
        p[2] = static_cast<std::uint8_t>(v >> 16);
        p[3] = static_cast<std::uint8_t>(v >> 24);
    }
};

} // namespace tarwick::engine::hash_detail
