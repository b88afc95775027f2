#pragma once

#include "engine/ec/Scalar.h"

#include <cstddef>
#include <cstdint>

namespace tarwick::engine {

// Fills `out` with bytes from the operating system's cryptographic random generator
// (getrandom on Linux, BCryptGenRandom on Windows). Throws std::runtime_error when the
// system cannot deliver; there is no weaker fallback.
void systemRandomBytes(std::uint8_t* out, std::size_t length);

// A private key drawn uniformly from [1, n - 1] with systemRandomBytes.
Scalar randomPrivateKey();

} // namespace tarwick::engine
