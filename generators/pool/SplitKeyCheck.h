#pragma once

#include "pool/Solution.h"

#include <array>
#include <cstdint>
#include <string>

struct secp256k1_context_struct;

namespace tarwick::pool {

// The check every solution passes before the miner claims it, on code that shares nothing
// with the search: libsecp256k1 computes P + k*G, OpenSSL hashes it, and the address text is
// rebuilt with OpenSSL's big numbers.
class SplitKeyCheck {
public:
    SplitKeyCheck();
    ~SplitKeyCheck();
    SplitKeyCheck(const SplitKeyCheck&) = delete;
    SplitKeyCheck& operator=(const SplitKeyCheck&) = delete;

    // The address (with this version byte, uncompressed key) of P + k*G; empty when P is no
    // point of the curve, k is not below n, or the sum is the point at infinity.
    std::string address(const std::array<std::uint8_t, 65>& publicKey,
                        const std::array<std::uint8_t, 32>& offset, std::uint8_t version) const;

    // Empty when the solution's address is the reference address and begins with the
    // pattern (case-sensitive, as the pool matches); otherwise what is wrong.
    std::string problem(const Solution& solution) const;

private:
    secp256k1_context_struct* context_;
};

} // namespace tarwick::pool
