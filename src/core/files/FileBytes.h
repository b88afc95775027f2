#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace tarwick {

// A file's bytes as they are, from byte `from` to its end; nothing when it cannot be opened or
// read to its end (a read error, as on a failing disk, included).
std::optional<std::string> readFileBytes(const std::filesystem::path& path,
                                         std::uintmax_t from = 0);

} // namespace tarwick
