#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace tarwick::cpu {

// Exit codes of vanitygen64.exe.
inline constexpr int kExitDone = 0;        // every pattern found, or -h
inline constexpr int kExitUsage = 1;       // bad options, no usable pattern, unusable files
inline constexpr int kExitCheckFailed = 2; // a key failed the self-check
inline constexpr int kExitInternal = 3;    // the search itself failed
// A found key could not be written to the -o file: it is only on standard output. The
// search stops at once, since a file that refused one key will likely refuse the next.
inline constexpr int kExitKeyNotWritten = 4;

// The whole program after the program name: parse, read patterns, search, report.
int runCpuGenerator(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

} // namespace tarwick::cpu
