#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tarwick::pool {

// A split-key find: the address of P + k*G begins with the pattern. k alone is worth
// nothing; the requester adds it to a (P = a*G) to get the key of the address.
struct Solution {
    std::string pattern;
    std::array<std::uint8_t, 65> publicKey{}; // P, uncompressed
    std::uint8_t addressVersion = 0;
    std::array<std::uint8_t, 32> offset{}; // k, big-endian
    std::string address;                   // of P + k*G, as the search computed it
};

} // namespace tarwick::pool
