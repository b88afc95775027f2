#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarwick {

// The patterns one run searched, kept with the run (in memory and in kRunPatternsFile beside
// results.txt) so that the keys its results.txt holds are checked against them, even by a
// later start of the program, never against whatever the patterns box holds then.
struct SearchedPatterns {
    bool caseInsensitive = false;
    std::vector<std::string> patterns;

    friend bool operator==(const SearchedPatterns&, const SearchedPatterns&) = default;
};

inline constexpr std::string_view kRunPatternsFile = "run-patterns.txt";

// The patterns of a patterns text: its lines (every CR dropped) that begin with "1", as counted.
std::vector<std::string> patternsOfText(std::string_view text);

// The file's text: "case-insensitive" or "case-sensitive", then one pattern a line.
std::string runPatternsFileText(const SearchedPatterns& searched);
// False when the text is not one runPatternsFileText wrote.
bool parseRunPatternsFile(std::string_view text, SearchedPatterns& searched);

} // namespace tarwick
