#include "engine/random/SystemRandom.h"
#include "opencl_device/CacheFile.h"

#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

namespace tarwick::opencl_device {

// No owner checks here: a folder in the user's profile is kept from other accounts by its
// access list. Links are not followed for reading.

bool preparePrivateFolder(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return !error && std::filesystem::is_directory(std::filesystem::symlink_status(folder));
}

std::optional<std::vector<unsigned char>> readPrivateFile(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(std::filesystem::symlink_status(file, error)))
        return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::vector<unsigned char>((std::istreambuf_iterator<char>(in)),
                                      std::istreambuf_iterator<char>());
}

bool writePrivateFile(const std::filesystem::path& file, const std::vector<unsigned char>& bytes) {
    std::uint8_t tag[8];
    engine::systemRandomBytes(tag, sizeof tag);
    std::string name = file.string() + ".";
    for (const std::uint8_t b : tag)
        name += "0123456789abcdef"[b & 15];
    name += ".tmp";
    {
        std::ofstream out(name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out)
            return false;
    }
    std::error_code error;
    std::filesystem::rename(name, file, error);
    if (!error)
        return true;
    std::filesystem::remove(name, error);
    return false;
}

} // namespace tarwick::opencl_device
