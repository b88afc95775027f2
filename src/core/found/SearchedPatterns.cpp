#include "core/found/SearchedPatterns.h"

namespace tarwick {
namespace {

constexpr std::string_view kInsensitive = "case-insensitive";
constexpr std::string_view kSensitive = "case-sensitive";

std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t feed = text.find('\n');
        std::string_view line = text.substr(0, feed);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        text.remove_prefix(feed == std::string_view::npos ? text.size() : feed + 1);
    }
    return lines;
}

} // namespace

std::vector<std::string> patternsOfText(std::string_view text) {
    std::vector<std::string> patterns;
    for (std::string_view line : linesOf(text)) {
        // The generators ignore every CR, as the count does ("1ab\r\r\n" is 1ab).
        std::string pattern(line);
        std::erase(pattern, '\r');
        if (pattern.starts_with('1')) {
            patterns.push_back(std::move(pattern));
        }
    }
    return patterns;
}

std::string runPatternsFileText(const SearchedPatterns& searched) {
    std::string text(searched.caseInsensitive ? kInsensitive : kSensitive);
    text += '\n';
    for (const std::string& pattern : searched.patterns) {
        text.append(pattern).append("\n");
    }
    return text;
}

bool parseRunPatternsFile(std::string_view text, SearchedPatterns& searched) {
    const std::vector<std::string_view> lines = linesOf(text);
    if (lines.empty() || (lines[0] != kInsensitive && lines[0] != kSensitive)) {
        return false;
    }
    searched.caseInsensitive = lines[0] == kInsensitive;
    searched.patterns.assign(lines.begin() + 1, lines.end());
    return true;
}

} // namespace tarwick
