#include "core/files/FileBytes.h"

#include <fstream>

namespace tarwick {

std::optional<std::string> readFileBytes(const std::filesystem::path& path, std::uintmax_t from) {
    std::ifstream in(path, std::ios::binary);
    if (!in.seekg(static_cast<std::streamoff>(from))) {
        return std::nullopt;
    }
    // The stream's own read, never an iterator over its buffer: the buffer throws on a read
    // error, which the stream's read turns into its bad state.
    std::string bytes;
    char chunk[16384];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
    }
    if (!in.eof() || in.bad()) {
        return std::nullopt;
    }
    return bytes;
}

} // namespace tarwick
