#pragma once

#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

namespace tarwick::pool {

// The whole program after the program name: options, reward address, device, then the
// miner's loop until `stop` is set. Returns the exit code.
int runMinerProgram(const std::vector<std::string>& args, std::FILE* out, std::FILE* err,
                    const std::atomic<bool>& stop);

} // namespace tarwick::pool
