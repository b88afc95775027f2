#pragma once

#include <string_view>

namespace tarwick {

// The generators are named everywhere by their display text, compared exactly.
inline constexpr std::string_view kCpuGenerator = "Vanitygen (CPU)";
inline constexpr std::string_view kGpuGenerator = "Vanitygen (OpenCL GPU)";
inline constexpr std::string_view kPoolMiner = "Vanityminer pool (OpenCL GPU)";

// Executables and files, relative to the working folder, written as the user sees them.
inline constexpr std::string_view kCpuExecutable = "vanitygen//vanitygen64.exe";
inline constexpr std::string_view kGpuExecutable = "vanitygen//oclvanitygen.exe";
inline constexpr std::string_view kPoolExecutable = "vanitygen//oclvanityminer64.exe";
inline constexpr std::string_view kPatternsFile = "vanitygen//patterns.txt";
inline constexpr std::string_view kResultsFile = "results.txt";
inline constexpr std::string_view kOutputLog = "stdout.log";

// The bounty pool's work server; the miner asks it for work and claims rewards there.
inline constexpr std::string_view kDefaultPoolUrl = "https://vanitypool.appspot.com/";

// The exit code of a generator that found a key but could not write it to its -o file: the key
// is then only in its output (stdout.log).
inline constexpr int kExitKeyNotWritten = 4;

// What a run does: a search, or asking the GPU generator for the machine's OpenCL platforms.
enum class RunMode { Search, ListPlatforms };

} // namespace tarwick
