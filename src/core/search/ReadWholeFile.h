#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace tarwick {

// A file's bytes as they are; nothing when it cannot be opened or read to its end.
std::optional<std::string> readFileBytes(const std::filesystem::path& path);

// A whole text file as one text, a CR before an LF dropped; empty when it cannot be read.
std::string ReadWholeFile(const std::filesystem::path& path);

} // namespace tarwick
