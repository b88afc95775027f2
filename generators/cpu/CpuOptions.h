#pragma once

#include "program/SearchOptions.h"

#include <string>
#include <vector>

namespace tarwick::cpu {

// What the command line of vanitygen64.exe asks for.
// -v names the hashing and field arithmetic paths on standard error.
struct CpuOptions : program::SearchOptions {
    unsigned threads = 0; // 0: one per logical processor
};

// The shared options with -t N (1 to 1024 threads) as the placement option.
bool parseCpuOptions(const std::vector<std::string>& args, CpuOptions& options, std::string& error);

// The text -h prints.
const char* cpuUsage();

} // namespace tarwick::cpu
