#pragma once

#include <string>
#include <vector>

namespace tarwick::cpu {

// What the command line of vanitygen64.exe asks for.
struct CpuOptions {
    unsigned threads = 0; // 0: one per logical processor
    bool caseInsensitive = false;
    bool keepGoing = false;
    bool compressed = true;
    bool help = false;
    bool verbose = false; // name the hashing and field arithmetic paths on standard error
    std::string outputFile;
    std::vector<std::string> patternFiles;
    std::vector<std::string> patterns;
};

// Parses the arguments after the program name. Options: -t N, -i, -k, -o FILE, -f FILE,
// -F compressed|uncompressed, -v, -h; a value may follow its option or be attached to it
// ("-t4"); anything else that does not begin with '-' is a pattern. Empty arguments are
// skipped. False with a message on a bad option.
bool parseCpuOptions(const std::vector<std::string>& args, CpuOptions& options, std::string& error);

// The text -h prints.
const char* cpuUsage();

} // namespace tarwick::cpu
