#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tarwick::engine::hash_detail {

enum class LengthOrder { BigEndian, LittleEndian };

// Feeds a message to a 64-byte-block compression function with the padding SHA-256 and
// RIPEMD-160 share: 0x80, zeros, and the bit length in the last 8 bytes of one or two blocks.
template <LengthOrder order, typename CompressBlock>
void compressPadded(const std::uint8_t* data, std::size_t length, CompressBlock compressBlock) {
    std::size_t offset = 0;
    for (; offset + 64 <= length; offset += 64) {
        compressBlock(data + offset);
    }
    std::uint8_t tail[128] = {};
    const std::size_t rest = length - offset;
    if (rest > 0) {
        std::memcpy(tail, data + offset, rest);
    }
    tail[rest] = 0x80;
    const std::size_t tailLength = rest < 56 ? 64 : 128;
    const std::uint64_t bits = static_cast<std::uint64_t>(length) * 8;
    for (std::size_t i = 0; i < 8; ++i) {
        const std::size_t at =
            order == LengthOrder::BigEndian ? tailLength - 1 - i : tailLength - 8 + i;
        tail[at] = static_cast<std::uint8_t>(bits >> (8 * i));
    }
    compressBlock(tail);
    if (tailLength == 128) {
        compressBlock(tail + 64);
    }
}

} // namespace tarwick::engine::hash_detail
