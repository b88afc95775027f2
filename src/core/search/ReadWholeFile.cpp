#include "core/search/ReadWholeFile.h"

#include "core/files/FileBytes.h"

#include <system_error>

namespace tarwick {

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
