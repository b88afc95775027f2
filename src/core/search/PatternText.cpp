#include "core/search/PatternText.h"

namespace tarwick {

bool IsBase58Text(std::string_view text) {
    return text.find_first_not_of(kPatternCharacters) == std::string_view::npos;
}

int CountPatterns(std::string_view text) {
    int count = 0;
    bool atLineStart = true;
    for (const char c : text) {
        if (c == '\r') {
            continue; // dropped wherever it stands, so it never starts a line
        }
        if (c == '\n') {
            atLineStart = true;
            continue;
        }
        if (atLineStart && c == '1') {
            ++count;
        }
        atLineStart = false;
    }
    return count;
}

std::string trimWhiteSpace(std::string_view text) {
    constexpr std::string_view blanks = " \t\r\n\v\f";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(blanks);
    return std::string(text.substr(first, last - first + 1));
}

} // namespace tarwick
