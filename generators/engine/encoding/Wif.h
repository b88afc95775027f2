#pragma once

#include <cstdint>
#include <string>

namespace tarwick::engine {

// Version byte of main-network private keys in wallet import format.
inline constexpr std::uint8_t kBitcoinPrivateKeyVersion = 0x80;

// Wallet import format of a 32-byte big-endian private key: Base58Check of the version byte,
// the key, and 0x01 when the matching public key is used compressed. Main-network keys read
// "5..." uncompressed and "K..." or "L..." compressed.
std::string wifFromPrivateKey(const std::uint8_t key[32], bool compressed,
                              std::uint8_t version = kBitcoinPrivateKeyVersion);

} // namespace tarwick::engine
