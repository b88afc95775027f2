#include "engine/hash/Sha256.h"

#include "engine/hash/detail/PaddedBlocks.h"
#include "engine/hash/detail/ScalarOps.h"
#include "engine/hash/detail/Sha256Rounds.h"

#include <cstring>

namespace tarwick::engine {

namespace {

using Rounds = hash_detail::Sha256Rounds<hash_detail::ScalarOps>;

void compressBlock(std::uint32_t state[8], const std::uint8_t block[64]) {
    std::uint32_t w[16];
    for (int t = 0; t < 16; ++t) {
        w[t] = (std::uint32_t{block[4 * t]} << 24) | (std::uint32_t{block[4 * t + 1]} << 16) |
               (std::uint32_t{block[4 * t + 2]} << 8) | std::uint32_t{block[4 * t + 3]};
    }
    Rounds::compress(state, w);
}

} // namespace

void sha256(const std::uint8_t* data, std::size_t length, std::uint8_t out[32]) {
    std::uint32_t state[8];
    std::memcpy(state, hash_detail::kSha256Init, sizeof state);

    hash_detail::compressPadded<hash_detail::LengthOrder::BigEndian>(
        data, length, [&](const std::uint8_t* block) { compressBlock(state, block); });

    for (int i = 0; i < 8; ++i) {
        out[4 * i] = static_cast<std::uint8_t>(state[i] >> 24);
        out[4 * i + 1] = static_cast<std::uint8_t>(state[i] >> 16);
        out[4 * i + 2] = static_cast<std::uint8_t>(state[i] >> 8);
        out[4 * i + 3] = static_cast<std::uint8_t>(state[i]);
    }
}

void sha256d(const std::uint8_t* data, std::size_t length, std::uint8_t out[32]) {
    std::uint8_t first[32];
    sha256(data, length, first);
    sha256(first, sizeof first, out);
}

} // namespace tarwick::engine
