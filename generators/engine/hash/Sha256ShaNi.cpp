// SHA-256 of public keys on the SHA extensions (SHA-NI). Only this file is compiled for them
// (through the target pragma below), and only after the run-time check in HashBackend.cpp.
// One instruction does two rounds; its state is split into the register pairs ABEF and CDGH.
// Two keys are hashed side by side because each round pair depends on the previous one: two
// independent chains keep the unit busy while one waits (four measured no faster on AMD Zen).

#include "engine/hash/detail/Kernels.h"
#include "engine/hash/detail/Sha256Rounds.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <immintrin.h>

#pragma GCC push_options
#pragma GCC target("sha,sse4.1")

namespace tarwick::engine::hash_detail {

namespace {

template <std::size_t Streams>
struct ShaNiStreams {
    __m128i abef[Streams];
    __m128i cdgh[Streams];

    void init() {
        // The initial value, rearranged once into the register order the instructions want.
        const __m128i abcd = _mm_loadu_si128(reinterpret_cast<const __m128i*>(kSha256Init));
        const __m128i efgh = _mm_loadu_si128(reinterpret_cast<const __m128i*>(kSha256Init + 4));
        const __m128i badc = _mm_shuffle_epi32(abcd, 0xb1);
        const __m128i hgfe = _mm_shuffle_epi32(efgh, 0x1b);
        for (std::size_t s = 0; s < Streams; ++s) {
            abef[s] = _mm_alignr_epi8(badc, hgfe, 8);
            cdgh[s] = _mm_blend_epi16(hgfe, badc, 0xf0);
        }
    }

    // One 64-byte block per stream.
    void compress(const std::uint8_t* const blocks[Streams]) {
        const __m128i byteSwap = _mm_set_epi64x(0x0c0d0e0f08090a0bLL, 0x0405060700010203LL);
        __m128i savedAbef[Streams];
        __m128i savedCdgh[Streams];
        // Message words t..t+3 of group g sit in msg[s][g % 4].
        __m128i msg[Streams][4];
        for (std::size_t s = 0; s < Streams; ++s) {
            savedAbef[s] = abef[s];
            savedCdgh[s] = cdgh[s];
        }
        // Unrolled so that the rolling message window lives in registers.
#pragma GCC unroll 16
        for (int g = 0; g < 16; ++g) {
            const __m128i k = _mm_loadu_si128(reinterpret_cast<const __m128i*>(kSha256K + 4 * g));
            for (std::size_t s = 0; s < Streams; ++s) {
                __m128i m;
                if (g < 4) {
                    m = _mm_shuffle_epi8(
                        _mm_loadu_si128(reinterpret_cast<const __m128i*>(blocks[s] + 16 * g)),
                        byteSwap);
                } else {
                    // w[t] = sigma1(w[t-2]) + w[t-7] + sigma0(w[t-15]) + w[t-16]
                    const __m128i& w16 = msg[s][g % 4];
                    const __m128i& w12 = msg[s][(g + 1) % 4];
                    const __m128i& w8 = msg[s][(g + 2) % 4];
                    const __m128i& w4 = msg[s][(g + 3) % 4];
                    m = _mm_sha256msg2_epu32(
                        _mm_add_epi32(_mm_sha256msg1_epu32(w16, w12), _mm_alignr_epi8(w4, w8, 4)),
                        w4);
                }
                msg[s][g % 4] = m;
                const __m128i wk = _mm_add_epi32(m, k);
                cdgh[s] = _mm_sha256rnds2_epu32(cdgh[s], abef[s], wk);
                abef[s] = _mm_sha256rnds2_epu32(abef[s], cdgh[s], _mm_shuffle_epi32(wk, 0x0e));
            }
        }
        for (std::size_t s = 0; s < Streams; ++s) {
            abef[s] = _mm_add_epi32(abef[s], savedAbef[s]);
            cdgh[s] = _mm_add_epi32(cdgh[s], savedCdgh[s]);
        }
    }

    // The digest of each stream, big-endian, 32 bytes per stream.
    void finish(std::uint8_t* const digests[Streams]) const {
        const __m128i byteSwap = _mm_set_epi64x(0x0c0d0e0f08090a0bLL, 0x0405060700010203LL);
        for (std::size_t s = 0; s < Streams; ++s) {
            const __m128i feba = _mm_shuffle_epi32(abef[s], 0x1b);
            const __m128i dchg = _mm_shuffle_epi32(cdgh[s], 0xb1);
            const __m128i dcba = _mm_blend_epi16(feba, dchg, 0xf0);
            const __m128i hgfe = _mm_alignr_epi8(dchg, feba, 8);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(digests[s]),
                             _mm_shuffle_epi8(dcba, byteSwap));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(digests[s] + 16),
                             _mm_shuffle_epi8(hgfe, byteSwap));
        }
    }
};

// The padded message of one key: one block for 33 bytes, two for 65.
struct PaddedKey {
    alignas(16) std::uint8_t bytes[128];
    std::size_t blocks;

    void set(const std::uint8_t* key, std::size_t length) {
        blocks = length == 33 ? 1 : 2;
        const std::size_t total = blocks * 64;
        std::memcpy(bytes, key, length);
        std::memset(bytes + length, 0, total - length);
        bytes[length] = 0x80;
        const std::uint32_t bits = static_cast<std::uint32_t>(length * 8);
        bytes[total - 2] = static_cast<std::uint8_t>(bits >> 8);
        bytes[total - 1] = static_cast<std::uint8_t>(bits);
    }
};

template <std::size_t Streams>
void hashGroup(const std::uint8_t* keys, std::size_t length, std::uint8_t* digests) {
    PaddedKey padded[Streams];
    const std::uint8_t* blocks[Streams];
    std::uint8_t* outs[Streams];
    for (std::size_t s = 0; s < Streams; ++s) {
        padded[s].set(keys + s * length, length);
        blocks[s] = padded[s].bytes;
        outs[s] = digests + s * 32;
    }
    ShaNiStreams<Streams> sha;
    sha.init();
    sha.compress(blocks);
    if (padded[0].blocks == 2) {
        for (std::size_t s = 0; s < Streams; ++s) {
            blocks[s] += 64;
        }
        sha.compress(blocks);
    }
    sha.finish(outs);
}

} // namespace

void sha256KeysShaNi(const std::uint8_t* keys, std::size_t length, std::size_t count,
                     std::uint8_t* digests) {
    std::size_t done = 0;
    for (; done + 2 <= count; done += 2) {
        hashGroup<2>(keys + done * length, length, digests + done * 32);
    }
    if (done < count) {
        hashGroup<1>(keys + done * length, length, digests + done * 32);
    }
}

} // namespace tarwick::engine::hash_detail

#pragma GCC pop_options
