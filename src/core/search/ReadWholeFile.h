#pragma once

#include <filesystem>
#include <string>

namespace tarwick {

// A whole text file as one text, a CR before an LF dropped; empty when it cannot be read.
std::string ReadWholeFile(const std::filesystem::path& path);

} // namespace tarwick
