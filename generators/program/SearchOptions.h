#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tarwick::program {

// The options every key-search program takes, wherever its search runs.
struct SearchOptions {
    bool caseInsensitive = false;
    bool keepGoing = false;
    bool compressed = true;
    bool help = false;
    bool verbose = false;
    std::string outputFile;
    std::vector<std::string> patternFiles;
    std::vector<std::string> patterns;
};

// The one option that says where the search runs (-t N, -D P:D): its letter, and what takes its
// value (false, with a message, when the value is bad).
struct PlacementOption {
    char letter;
    std::function<bool(const std::string& value, std::string& error)> take;
};

// Parses the arguments after the program name. Options: the placement option, -i, -k, -o FILE,
// -f FILE, -F compressed|uncompressed, -v, -h; a value may follow its option or be attached to
// it ("-t4"); anything else that does not begin with '-' is a pattern. Empty arguments are
// skipped. False with a message on a bad option.
bool parseSearchOptions(const std::vector<std::string>& args, const PlacementOption& placement,
                        SearchOptions& options, std::string& error);

} // namespace tarwick::program
