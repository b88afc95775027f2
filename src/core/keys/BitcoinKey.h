#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace tarwick {

// A private key as a WIF text gives it (main network).
struct WifKey {
    std::array<std::uint8_t, 32> secret{};
    bool compressed = false; // the WIF's 0x01 suffix: the address is of the compressed point
};

enum class WifError { NotWif, BadChecksum, OutOfRange };

// Base58Check-decodes a main-network WIF key (version 0x80, 32 bytes, optional 0x01) and checks
// that the secret is a valid secp256k1 key.
std::variant<WifKey, WifError> decodeWif(std::string_view wif);

// The key's main-network WIF text, the inverse of decodeWif.
std::string encodeWif(const WifKey& key);

// The P2PKH address (version 0x00) of the key's public point, derived with libsecp256k1 and
// OpenSSL's SHA-256 and RIPEMD-160, independently of the generators' own arithmetic.
std::string addressOfKey(const WifKey& key);

} // namespace tarwick
