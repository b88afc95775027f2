#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarwick {

// Bitcoin's Base58 alphabet, each leading '1' standing for one leading zero byte. Texts longer
// than maxChars are refused before any work, so hostile input costs nothing.
std::optional<std::vector<std::uint8_t>> decodeBase58(std::string_view text,
                                                      std::size_t maxChars = 128);
std::string encodeBase58(const std::vector<std::uint8_t>& bytes);

} // namespace tarwick
