#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarwick::engine {

// Bitcoin's Base58 alphabet: digits and letters without 0, O, I and l.
inline constexpr char kBase58Alphabet[] =
    "123456789ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz";

// The digit value of a Base58 character, or -1 for a character outside the alphabet.
int base58DigitValue(char c);

// Base58 of a big-endian number; each leading zero byte becomes a leading '1'.
std::string base58Encode(std::span<const std::uint8_t> data);

// The inverse of base58Encode; nullopt for a character outside the alphabet. Leading and
// trailing spaces are not accepted.
std::optional<std::vector<std::uint8_t>> base58Decode(std::string_view text);

// payload followed by the first four bytes of SHA-256(SHA-256(payload)), Base58-encoded.
std::string base58CheckEncode(std::span<const std::uint8_t> payload);

// The payload of a Base58Check text; nullopt when it is not Base58 or the checksum is wrong.
std::optional<std::vector<std::uint8_t>> base58CheckDecode(std::string_view text);

} // namespace tarwick::engine
