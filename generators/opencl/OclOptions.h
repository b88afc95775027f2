#pragma once

#include "opencl/DeviceList.h"

#include <string>
#include <vector>

namespace tarwick::opencl {

// What the command line of oclvanitygen.exe asks for: the CPU generator's options, with
// -D P:D choosing the OpenCL device instead of a thread count.
struct OclOptions {
    DeviceAddress device; // 0:0 unless -D says otherwise
    bool caseInsensitive = false;
    bool keepGoing = false;
    bool compressed = true;
    bool help = false;
    bool verbose = false; // name the device and launch shape on standard error
    std::string outputFile;
    std::vector<std::string> patternFiles;
    std::vector<std::string> patterns;
};

// Parses the arguments after the program name. Options: -D P:D, -i, -k, -o FILE, -f FILE,
// -F compressed|uncompressed, -v, -h; a value may follow its option or be attached to it
// ("-D0:1"); anything else that does not begin with '-' is a pattern. Empty arguments are
// skipped. False with a message on a bad option.
bool parseOclOptions(const std::vector<std::string>& args, OclOptions& options, std::string& error);

// The text -h prints.
const char* oclUsage();

} // namespace tarwick::opencl
