#pragma once

#include <cstddef>
#include <cstdint>

namespace tarwick::engine {

// SHA-256 (FIPS 180-4) of `length` bytes, portable code. The search's hot path hashes public
// keys through hash160Batch instead; this one serves checksums and the occasional single hash.
void sha256(const std::uint8_t* data, std::size_t length, std::uint8_t out[32]);

// SHA-256 applied twice, as Base58Check checksums use it.
void sha256d(const std::uint8_t* data, std::size_t length, std::uint8_t out[32]);

} // namespace tarwick::engine
