#pragma once

#include "program/ExitCodes.h"

#include <cstdio>
#include <string>
#include <vector>

namespace tarwick::cpu {

// Exit codes of vanitygen64.exe: those every key-search program shares.
using program::kExitCheckFailed;
using program::kExitDone;
using program::kExitInternal;
using program::kExitKeyNotWritten;
using program::kExitUsage;

// The whole program after the program name: parse, read patterns, search, report.
int runCpuGenerator(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

} // namespace tarwick::cpu
