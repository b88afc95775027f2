#pragma once

// What the fuzz targets share: a check that stays on in optimised builds (libFuzzer saves the
// input that failed it), and a folder of this process's own for parsers that read a file.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>

#define FUZZ_CHECK(condition)                                                                      \
    ((condition) ? void()                                                                          \
                 : (std::fprintf(stderr, "FUZZ_CHECK failed: %s at %s:%d\n", #condition, __FILE__, \
                                 __LINE__),                                                        \
                    std::abort()))

namespace tarwick::fuzz {

inline std::string_view bytesOf(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Made once and emptied at exit; in memory (/dev/shm) where there is one, so runs stay fast.
inline const std::filesystem::path& scratchFolder() {
    namespace fs = std::filesystem;
    static const fs::path folder =
        (fs::is_directory("/dev/shm") ? "/dev/shm" : fs::temp_directory_path()) /
        ("tarwick-fuzz-" + std::to_string(::getpid()));
    [[maybe_unused]] static const int cleanup = (fs::create_directories(folder), std::atexit([] {
                                                     std::error_code ignored;
                                                     fs::remove_all(folder, ignored);
                                                 }));
    return folder;
}

inline std::filesystem::path writeScratchFile(std::string_view name, std::string_view bytes) {
    const std::filesystem::path file = scratchFolder() / name;
    std::ofstream out(file, std::ios::binary);
    FUZZ_CHECK(out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())).flush().good());
    return file;
}

} // namespace tarwick::fuzz
