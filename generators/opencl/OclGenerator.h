#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace tarwick::opencl {

// Exit codes of oclvanitygen.exe (those of vanitygen64.exe, plus the device's own).
inline constexpr int kExitDone = 0;        // every pattern found, or -h
inline constexpr int kExitUsage = 1;       // bad options, no usable pattern, unusable files
inline constexpr int kExitCheckFailed = 2; // a key failed the self-check
inline constexpr int kExitInternal = 3;    // the search itself failed
inline constexpr int kExitNoDevice = 4;    // no OpenCL platform, or -D named none (listed)
inline constexpr int kExitDevice = 5;      // the kernels did not build or run on the device

// The whole program after the program name: parse, find the device (or list them all),
// read patterns, search, report.
int runOclGenerator(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

} // namespace tarwick::opencl
