#pragma once

#include <string>
#include <string_view>

namespace tarwick::pool {

// Empty when `address` is a Bitcoin main-network address the pool can pay: Base58Check
// with a correct checksum, 21 bytes, version 0 (P2PKH, "1...") or 5 (P2SH, "3...").
// Otherwise what is wrong with it.
std::string rewardAddressProblem(std::string_view address);

} // namespace tarwick::pool
