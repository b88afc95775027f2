#include "FuzzSupport.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

namespace tarwick::fuzz {

void fail(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "FUZZ_CHECK failed: %s at %s:%d\n", condition, file, line);
    std::abort();
}

namespace {

struct Scratch {
    std::filesystem::path folder;
    Scratch() {
        std::error_code error;
        const std::filesystem::path shm = "/dev/shm";
        const std::filesystem::path base = std::filesystem::is_directory(shm, error)
                                               ? shm
                                               : std::filesystem::temp_directory_path();
        folder = base / ("tarwick-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
    }
    ~Scratch() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
};

} // namespace

const std::filesystem::path& scratchFolder() {
    static const Scratch scratch;
    return scratch.folder;
}

std::filesystem::path writeScratchFile(std::string_view name, std::string_view bytes) {
    const std::filesystem::path file = scratchFolder() / std::string(name);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    FUZZ_CHECK(out.good());
    return file;
}

} // namespace tarwick::fuzz
