#pragma once

#include <cstddef>
#include <cstdint>

namespace tarwick::engine {

// RIPEMD-160 of `length` bytes, portable code.
void ripemd160(const std::uint8_t* data, std::size_t length, std::uint8_t out[20]);

} // namespace tarwick::engine
