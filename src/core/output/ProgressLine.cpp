#include "core/output/ProgressLine.h"

#include <algorithm>
#include <deque>
#include <fstream>
#include <system_error>

namespace tarwick {

std::string progressLineFromTail(std::string_view tail) {
    // Scanned backwards from the file's last character: "]" opens a group, "[" closes it.
    std::deque<std::string> groups;
    std::string collector; // the current group's characters, last one first
    bool inside = false;
    for (auto it = tail.rbegin(); it != tail.rend(); ++it) {
        const char c = *it;
        if (c == ']') {
            inside = true; // a second "]" before the next "[" continues the same group
        } else if (c == '[') {
            inside = false;
            std::string text(collector.rbegin(), collector.rend());
            const bool keyRate = text.find("key/s") != std::string::npos;
            groups.push_front(std::move(text));
            if (keyRate) {
                break;
            }
            collector.clear();
        } else if (inside) {
            collector += c;
        }
    }
    // A group whose "[" lies before the tail is dropped with the collector.
    std::string line;
    for (const std::string& group : groups) {
        line += "[" + group + "]  ";
    }
    return line;
}

std::string ReadProgressLine(const std::filesystem::path& outputLog) {
    // Opening a FIFO put in the log's place would block the window; a folder has no tail.
    std::error_code error;
    if (!std::filesystem::is_regular_file(outputLog, error)) {
        return {};
    }
    std::ifstream in(outputLog, std::ios::binary);
    if (!in) {
        return {};
    }
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size <= 0) {
        return {};
    }
    const std::streamoff length =
        std::min<std::streamoff>(size, static_cast<std::streamoff>(kProgressTailLength));
    in.seekg(size - length);
    std::string tail(static_cast<std::size_t>(length), '\0');
    in.read(tail.data(), length);
    tail.resize(static_cast<std::size_t>(in.gcount()));
    return progressLineFromTail(tail);
}

} // namespace tarwick
