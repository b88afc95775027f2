#pragma once

#include "engine/search/FoundKey.h"

#include <cstddef>
#include <cstdint>
#include <string>

struct secp256k1_context_struct;

namespace tarwick::engine {

// The final check of every key a generator reports, on code that shares nothing with the
// engine: libsecp256k1 derives the public key from the private key, OpenSSL hashes it,
// and the address and WIF texts are rebuilt with OpenSSL's big numbers and compared
// character for character.
class ReferenceKeyCheck final : public KeyCheck {
public:
    ReferenceKeyCheck();
    ~ReferenceKeyCheck() override;
    ReferenceKeyCheck(const ReferenceKeyCheck&) = delete;
    ReferenceKeyCheck& operator=(const ReferenceKeyCheck&) = delete;

    std::string problem(const FoundKey& key, bool caseInsensitive) const override;

private:
    secp256k1_context_struct* context_;
};

// The Base58Check text of a payload (version byte first), built with OpenSSL alone: the
// reference every address and WIF key is compared with.
std::string referenceBase58Check(const std::uint8_t* payload, std::size_t length);

} // namespace tarwick::engine
