#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tarwick::engine {

// A key whose address begins with a wanted pattern, with everything needed to report it
// and to check it independently before it is reported.
struct FoundKey {
    std::string pattern;       // the pattern as the user gave it
    std::string address;       // the P2PKH address text
    std::string privateKeyWif; // the private key in wallet import format
    std::array<std::uint8_t, 32> privateKey{};
    bool compressed = true;
    std::vector<std::uint8_t> publicKey; // 33 or 65 bytes, as the engine hashed it
    std::array<std::uint8_t, 20> hash160{};
};

// Checks a found key before anyone sees it.
class KeyCheck {
public:
    virtual ~KeyCheck() = default;
    // Empty when the key really controls the address and the address begins with the
    // pattern; otherwise a description of what is wrong (never the private key itself).
    virtual std::string problem(const FoundKey& key, bool caseInsensitive) const = 0;
};

} // namespace tarwick::engine
