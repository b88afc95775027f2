#pragma once

#include "engine/ec/Scalar.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tarwick::pool {

// The pool's base URL with exactly one '/' at its end, so that "getWork" and "solve" can
// be appended to it whether or not the user typed the slash.
std::string normalizedPoolUrl(std::string_view url);

// <base>getWork
std::string getWorkUrl(std::string_view baseUrl);

// <base>solve?key=<pattern>%3A<PUBHEX>&privateKey=<KHEX>&bitcoinAddress=<address>: PUBHEX is
// the requester's key uncompressed in upper-case hex, KHEX the 64 upper-case hex digits of
// k. Characters other than letters, digits and "-._~" in the pattern and the address are
// percent-encoded (Base58 texts never have any, but a pool's pattern is not ours to trust).
std::string claimUrl(std::string_view baseUrl, std::string_view pattern,
                     const std::array<std::uint8_t, 65>& publicKey, const engine::Scalar& k,
                     std::string_view rewardAddress);

} // namespace tarwick::pool
