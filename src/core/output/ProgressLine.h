#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace tarwick {

// How much of the end of the output log is examined for the progress line (301, not 300).
inline constexpr std::size_t kProgressTailLength = 301;

// The generator's latest bracketed status figures from the last 301 characters of the log:
// scanning from the end, every group up to and including the first one that contains "key/s",
// each written "[" text "]  " in file order. Empty when the file is missing, empty or
// unreadable, or its tail holds no "[". Reads only the tail, whatever the file's size.
std::string ReadProgressLine(const std::filesystem::path& outputLog);

// The same scan over a tail given in file order (at most the last 301 characters of a log).
std::string progressLineFromTail(std::string_view tail);

} // namespace tarwick
