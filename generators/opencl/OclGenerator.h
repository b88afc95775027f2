#pragma once

#include "program/ExitCodes.h"

#include <cstdio>
#include <string>
#include <vector>

namespace tarwick::opencl {

// Exit codes of oclvanitygen.exe (those every key-search program shares, plus the device's own).
using program::kExitCheckFailed;
using program::kExitDone;
using program::kExitInternal;
using program::kExitKeyNotWritten;
using program::kExitUsage;
inline constexpr int kExitNoDevice = 5; // no OpenCL platform, or -D named none (listed)
inline constexpr int kExitDevice = 6;   // the kernels did not build or run on the device

// The whole program after the program name: parse, find the device (or list them all),
// read patterns, search, report.
int runOclGenerator(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

} // namespace tarwick::opencl
