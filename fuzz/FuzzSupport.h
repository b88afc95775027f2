#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace tarwick::fuzz {

// Stops the run with the failed condition: libFuzzer saves the input that did it. Unlike
// assert() it stays on in optimised builds.
[[noreturn]] void fail(const char* condition, const char* file, int line);

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::tarwick::fuzz::fail(#condition, __FILE__, __LINE__);                                 \
    } while (false)

inline std::string_view bytesOf(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// A folder of this process's own for parsers that read a file, made once and emptied at exit;
// in memory (/dev/shm) where the system has it, so each run stays fast.
const std::filesystem::path& scratchFolder();

// Writes the bytes to a file of that folder and returns its path.
std::filesystem::path writeScratchFile(std::string_view name, std::string_view bytes);

} // namespace tarwick::fuzz
