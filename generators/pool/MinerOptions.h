#pragma once

#include <string>
#include <vector>

namespace tarwick::pool {

// What the command line of oclvanityminer64.exe asks for.
struct MinerOptions {
    std::string poolUrl;           // -u, the pool's server root
    std::string rewardAddress;     // -a
    std::string device;            // -D P:D; empty: search on the CPU
    unsigned refetchSeconds = 300; // -i
    unsigned threads = 0;          // -t, for the CPU search; 0: every logical processor
    unsigned timeoutSeconds = 30;  // -T, per request to the pool
    bool help = false;
};

// Parses the arguments after the program name: -u URL, -a ADDRESS, -D P:D, -i SECONDS,
// -t THREADS, -T SECONDS, -h; a value may follow its option or be attached to it. -u and -a
// are required (unless -h), the URL must begin with http:// or https://, the numbers must be
// positive. False with a message otherwise.
bool parseMinerOptions(const std::vector<std::string>& args, MinerOptions& options,
                       std::string& error);

const char* minerUsage();

} // namespace tarwick::pool
