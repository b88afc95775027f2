#include "engine/hash/Ripemd160.h"

#include "engine/hash/detail/PaddedBlocks.h"
#include "engine/hash/detail/Ripemd160Rounds.h"
#include "engine/hash/detail/ScalarOps.h"

#include <cstring>

namespace tarwick::engine {

namespace {

using Rounds = hash_detail::Ripemd160Rounds<hash_detail::ScalarOps>;

void compressBlock(std::uint32_t state[5], const std::uint8_t block[64]) {
    std::uint32_t x[16];
    for (int t = 0; t < 16; ++t) {
        x[t] = std::uint32_t{block[4 * t]} | (std::uint32_t{block[4 * t + 1]} << 8) |
               (std::uint32_t{block[4 * t + 2]} << 16) | (std::uint32_t{block[4 * t + 3]} << 24);
    }
    Rounds::compress(state, x);
}

} // namespace

void ripemd160(const std::uint8_t* data, std::size_t length, std::uint8_t out[20]) {
    std::uint32_t state[5];
    std::memcpy(state, hash_detail::kRipemd160Init, sizeof state);

    hash_detail::compressPadded<hash_detail::LengthOrder::LittleEndian>(
        data, length, [&](const std::uint8_t* block) { compressBlock(state, block); });

    for (int i = 0; i < 5; ++i) {
        for (int b = 0; b < 4; ++b) {
            out[4 * i + b] = static_cast<std::uint8_t>(state[i] >> (8 * b));
        }
    }
}

} // namespace tarwick::engine
