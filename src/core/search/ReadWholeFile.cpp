#include "core/search/ReadWholeFile.h"

#include <fstream>
#include <system_error>

namespace tarwick {

std::optional<std::string> readFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes;
    // The stream's own read, not an iterator over its buffer: the buffer throws on a read error
    // (a failing disk), which the stream turns into its bad state.
    char chunk[16384];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
    }
    if (!in.eof() || in.bad()) {
        return std::nullopt;
    }
    return bytes;
}

std::string ReadWholeFile(const std::filesystem::path& path) {
    // A FIFO would block the window on open; only a regular file is read.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return {};
    }
    const std::string raw = readFileBytes(path).value_or(std::string());
    std::string text;
    text.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') {
            continue;
        }
        text += raw[i];
    }
    return text;
}

} // namespace tarwick
