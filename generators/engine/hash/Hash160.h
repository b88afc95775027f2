#pragma once

#include "engine/hash/HashBackend.h"

#include <cstddef>
#include <cstdint>

namespace tarwick::engine {

// RIPEMD-160(SHA-256(data)): the hash a P2PKH address carries. Portable code.
void hash160(const std::uint8_t* data, std::size_t length, std::uint8_t out[20]);

// hash160 of `count` public keys stored back to back, each `pubkeyLength` bytes (33 compressed
// or 65 uncompressed); writes count * 20 bytes to `out`. Runs on the backend that
// hash160BatchBackend() names.
void hash160Batch(const std::uint8_t* pubkeys, std::size_t pubkeyLength, std::size_t count,
                  std::uint8_t* out);

// The same on a chosen backend; one this CPU does not support (hashBackendSupported) runs as
// Scalar. Other key lengths than 33 and 65 are hashed one at a time by the portable code.
void hash160BatchWith(HashBackend backend, const std::uint8_t* pubkeys, std::size_t pubkeyLength,
                      std::size_t count, std::uint8_t* out);

// The backend hash160Batch uses: the environment variable TARWICK_HASH_BACKEND when it names a
// backend this CPU supports (so every path of a built program can be exercised), otherwise
// fastestHashBackend(). Decided once per process.
HashBackend hash160BatchBackend();

// hashBackendName(hash160BatchBackend()).
const char* hashBackendName();

} // namespace tarwick::engine
