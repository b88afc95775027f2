#include "pool/RewardAddress.h"

#include "engine/encoding/Base58.h"

namespace tarwick::pool {

std::string rewardAddressProblem(std::string_view address) {
    if (address.empty()) {
        return "no reward address given";
    }
    const auto payload = engine::base58CheckDecode(address);
    if (!payload) {
        return "not a Base58Check text (a wrong character or checksum)";
    }
    if (payload->size() != 21) {
        return "not the length of a Bitcoin address";
    }
    if ((*payload)[0] != 0x00 && (*payload)[0] != 0x05) {
        return "not a Bitcoin P2PKH or P2SH address";
    }
    return {};
}

} // namespace tarwick::pool
