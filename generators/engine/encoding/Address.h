#pragma once

#include <cstdint>
#include <string>

namespace tarwick::engine {

// Version byte of Bitcoin main-network pay-to-public-key-hash addresses (texts starting "1").
inline constexpr std::uint8_t kBitcoinAddressVersion = 0;

// The P2PKH address: Base58Check of the version byte followed by the key's hash160.
std::string p2pkhAddress(std::uint8_t version, const std::uint8_t hash160[20]);

} // namespace tarwick::engine
