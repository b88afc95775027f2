#include "core/output/ProgressLine.h"

#include "core/files/FileBytes.h"

#include <algorithm>
#include <deque>
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
    const std::uintmax_t size = std::filesystem::file_size(outputLog, error);
    if (error) {
        return {};
    }
    const std::optional<std::string> tail =
        readFileBytes(outputLog, size - std::min<std::uintmax_t>(size, kProgressTailLength));
    return tail ? progressLineFromTail(*tail) : std::string();
}

} // namespace tarwick
