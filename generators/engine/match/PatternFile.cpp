#include "engine/match/PatternFile.h"

#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace tarwick::engine {

std::vector<std::string> readPatternFile(const std::string& path, bool& ok) {
    std::vector<std::string> patterns;
    ok = false;
    // A folder opens as a stream on POSIX and only fails when read.
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        return patterns;
    }
    std::string content;
    try {
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            return patterns;
        }
        content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (in.bad()) {
            return patterns;
        }
    } catch (const std::exception&) {
        return patterns;
    }

    std::string line;
    for (char c : content) {
        if (c == '\r' || c == '\n') {
            if (!line.empty()) {
                patterns.push_back(line);
            }
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty()) {
        patterns.push_back(line);
    }
    ok = true;
    return patterns;
}

} // namespace tarwick::engine
