#include "engine/encoding/Wif.h"

#include "engine/encoding/Base58.h"

#include <algorithm>

namespace tarwick::engine {

std::string wifFromPrivateKey(const std::uint8_t key[32], bool compressed, std::uint8_t version) {
    std::uint8_t payload[34];
    payload[0] = version;
    std::copy(key, key + 32, payload + 1);
    payload[33] = 0x01;
    return base58CheckEncode(std::span<const std::uint8_t>(payload, compressed ? 34 : 33));
}

} // namespace tarwick::engine
