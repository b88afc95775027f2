#pragma once

// The per-instruction-set pieces of hash160Batch, each in its own translation unit compiled
// for that instruction set. Callers must check hashBackendSupported first. Every function takes
// any count and handles the part that does not fill the lanes itself.

#include <cstddef>
#include <cstdint>

namespace tarwick::engine::hash_detail {

// hash160 of `count` keys of `length` bytes (33 or 65): count * 20 bytes to `out`.
void hash160KeysPortable(const std::uint8_t* keys, std::size_t length, std::size_t count,
                         std::uint8_t* out);
void hash160KeysAvx2(const std::uint8_t* keys, std::size_t length, std::size_t count,
                     std::uint8_t* out);
void hash160KeysAvx512(const std::uint8_t* keys, std::size_t length, std::size_t count,
                       std::uint8_t* out);

// hash160 of 16 keys of `length` bytes (33 or 65) given as rows of big-endian words, the
// padding's 0x80 included (see Hash160Lanes::hashWords): 16 * 20 bytes to `out`.
void hash160WordsAvx512(const std::uint32_t (*words)[16], std::size_t length, std::uint8_t* out);

// SHA-256 of `count` keys of `length` bytes (33 or 65) on the SHA extensions: count * 32 bytes.
void sha256KeysShaNi(const std::uint8_t* keys, std::size_t length, std::size_t count,
                     std::uint8_t* digests);

// RIPEMD-160 of `count` 32-byte values stored back to back: count * 20 bytes.
void ripemd160DigestsPortable(const std::uint8_t* digests, std::size_t count, std::uint8_t* out);
void ripemd160DigestsAvx2(const std::uint8_t* digests, std::size_t count, std::uint8_t* out);
void ripemd160DigestsAvx512(const std::uint8_t* digests, std::size_t count, std::uint8_t* out);

} // namespace tarwick::engine::hash_detail
