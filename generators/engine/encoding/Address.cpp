#include "engine/encoding/Address.h"

#include "engine/encoding/Base58.h"

#include <algorithm>

namespace tarwick::engine {

std::string p2pkhAddress(std::uint8_t version, const std::uint8_t hash160[20]) {
    std::uint8_t payload[21];
    payload[0] = version;
    std::copy(hash160, hash160 + 20, payload + 1);
    return base58CheckEncode(payload);
}

} // namespace tarwick::engine
